// tandrel-parameter-reference: the parameter reference of the manual, written from the
// product's own parameter table through a new instance, so that the manual cannot drift from
// what hosts see. Without options it prints the reference; --update FILE replaces the part of
// FILE between the reference markers; --check FILE exits 1 when that part differs.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/kiv_string.h"
#include "dynamics/effect/tandrel_audio_effect_plugin.h"
#include "dynamics/effect/tandrel_effect_interface.h"
#include "dynamics/parameters/tandrel_parameter_slot.h"
#include "parameters/kiv_effect_parameter_type.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"

namespace {

constexpr const char* kBegin = "<!-- parameter reference: written by tandrel-parameter-reference, do not edit -->";
constexpr const char* kEnd = "<!-- end of parameter reference -->";
// The channel mode belongs to the framework, which keeps no help texts.
constexpr const char* kChannelModeHelp =
    "Channel mode selects what the dynamics process: both channels, the left or the right alone (the other "
    "passes unchanged, delayed like the processed one), mid or side alone, mid and side, or left and right "
    "with the right inverted.";

// The help texts carry the editor's rich-text tags; the manual shows their words, paragraphs
// joined by a space.
std::string PlainText(const std::string& rich) {
    std::string plain, tag;
    bool inTag = false;
    for (char c : rich) {
        if (c == '<') {
            inTag = true;
            tag.clear();
        } else if (c == '>') {
            inTag = false;
            if (tag == "p" || tag == "/p" || tag == "br" || tag == "br/") plain += ' ';
        } else if (inTag) {
            tag += c;
        } else {
            plain += c == '|' ? '/' : c;
        }
    }
    std::string collapsed;
    for (char c : plain)
        if (c != ' ' || (!collapsed.empty() && collapsed.back() != ' ')) collapsed += c;
    while (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
    return collapsed;
}

std::string Cell(const KivString& text) {
    std::string cell = text.ToUTF8();
    for (char& c : cell)
        if (c == '|') c = '/';
    return cell.empty() ? std::string("(none)") : cell;
}

// The table's records that hosts see: every record but the panels without a switch. Each
// parameter takes the first record of its name not yet taken (the three "Threshold" records
// come in the panels' order, as the parameters do).
std::vector<const KivEffectParameter*> HostOrder(TandrelAudioEffectPlugin& effect) {
    std::vector<const KivEffectParameter*> records;
    for (int32_t slot = 0; slot < kTandrelSlotCount; ++slot) {
        const KivEffectParameter& record = effect.Parameters().Record(slot);
        if (record.type == kKivParameterTypeGroup && record.values.asGroup.enabled == nullptr) continue;
        records.push_back(&record);
    }
    return records;
}

std::string Reference() {
    KivKestruneAudioEffectPlugin plugin;
    plugin.Initialize("TandrelMini", "Kestrune", &TandrelEffectInterface);
    auto& effect = *static_cast<TandrelAudioEffectPlugin*>(plugin.GetEffect());
    std::ostringstream out;
    out << kBegin << "\n\n";
    out << "| # | Parameter | Section | Lowest | Highest | Default | What it does |\n";
    out << "|---|---|---|---|---|---|---|\n";
    const int32_t count = plugin.GetParameterCount();
    std::vector<const KivEffectParameter*> records = HostOrder(effect);
    int32_t shapePoints = 0;
    int32_t firstShapePoint = -1;
    for (int32_t index = 0; index < count; ++index) {
        const KivEffectParameter* record = nullptr;
        for (const KivEffectParameter*& candidate : records) {
            if (candidate != nullptr && candidate->name == plugin.GetParameterNameWithoutSection(index)) {
                record = candidate;
                candidate = nullptr;
                break;
            }
        }
        // The points of the drawn shape have neither a record nor a section: described once,
        // after the table.
        const bool channelMode = plugin.GetParameterID(index) == KivString("ChannelMode");
        if (record == nullptr && !channelMode && plugin.GetParameterSection(index).IsEmpty()) {
            if (firstShapePoint < 0) firstShapePoint = index;
            ++shapePoints;
            continue;
        }
        std::string help = record ? PlainText(record->help.ToUTF8()) : std::string();
        if (channelMode) help = kChannelModeHelp;
        out << "| " << index << " | " << Cell(plugin.GetParameterNameWithoutSection(index)) << " | "
            << Cell(plugin.GetParameterSection(index)) << " | " << Cell(plugin.GetParameterValueNameFrom01(index, 0.0))
            << " | " << Cell(plugin.GetParameterValueNameFrom01(index, 1.0)) << " | "
            << Cell(plugin.GetParameterValueName(index)) << " | " << help << " |\n";
    }
    // Parameters added after the drawn shape are numbered after its points.
    out << "\nParameters " << firstShapePoint << " to " << firstShapePoint + shapePoints - 1 << " are the " << shapePoints
        << " coordinates of the custom transfer shape's points (x, y, curvature and smoothness of each, 0 to 1),\n"
        << "which hosts can automate; they follow Threshold and Ratio while \"Custom shape\" is off.\n\n";
    out << kEnd << "\n";
    return out.str();
}

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return true;
}

// The file with its reference part replaced; false when the markers are missing.
bool Replace(const std::string& text, const std::string& reference, std::string& result) {
    const size_t begin = text.find(kBegin);
    const size_t end = text.find(kEnd);
    if (begin == std::string::npos || end == std::string::npos || end < begin) return false;
    const size_t after = text.find('\n', end);
    result = text.substr(0, begin) + reference + (after == std::string::npos ? std::string() : text.substr(after + 1));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string reference = Reference();
    if (argc == 1) {
        std::fputs(reference.c_str(), stdout);
        return 0;
    }
    const std::string mode = argv[1];
    if (argc != 3 || (mode != "--update" && mode != "--check")) {
        std::fprintf(stderr, "usage: tandrel-parameter-reference [--update FILE | --check FILE]\n");
        return 2;
    }
    std::string text, result;
    if (!ReadFile(argv[2], text) || !Replace(text, reference, result)) {
        std::fprintf(stderr, "%s: cannot read it, or it lacks the reference markers\n", argv[2]);
        return 2;
    }
    if (mode == "--check") {
        if (result == text) return 0;
        std::fprintf(stderr,
                     "%s: the parameter reference differs from the product's parameters; run\n"
                     "  tandrel-parameter-reference --update %s\nand commit the result.\n",
                     argv[2], argv[2]);
        return 1;
    }
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file << result;
    return file ? 0 : 2;
}
