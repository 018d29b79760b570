// kivtool gui: builds a window from a GUI description offscreen, lays it out, paints it in
// the house style and writes the picture as PNG, to look at a design without a host.
#include <cstdio>
#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_std_file_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_window_picture.h"
#include "gui/drawing/kiv_png_writer.h"
#include "tools/kivtool/kivtool_commands.h"

namespace {

struct GuiOptions {
    std::string description;
    std::string png;
    KivPoint size{};
};

int GuiUsage() {
    std::fprintf(stderr, "usage: kivtool gui FILE.xml --png OUT.png [--size WxH]\n");
    return 2;
}

bool ParseSize(const std::string& text, KivPoint& size) {
    int width = 0;
    int height = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &end) != 2 || width <= 0 || height <= 0) return false;
    size = KivPoint{width, height};
    return true;
}

bool ParseOptions(const KivToolArguments& arguments, GuiOptions& options) {
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const bool hasNext = index + 1 < arguments.size();
        if (argument == "--png" && hasNext) {
            options.png = arguments[++index];
        } else if (argument == "--size" && hasNext) {
            if (!ParseSize(arguments[++index], options.size)) return false;
        } else if (argument.rfind("--", 0) != 0 && options.description.empty()) {
            options.description = argument;
        } else {
            return false;
        }
    }
    return !options.description.empty() && !options.png.empty();
}

void RenderToPng(const GuiOptions& options) {
    KivStdFileStream file(KivString::FromUTF8(options.description), KivStdFileStream::kRead);
    KivXMLItem root;
    root.Load(file);
    KivPngWriter::Write(KivWindowPicture::Render(root, options.size), options.png);
}

}  // namespace

int RunGuiCommand(const KivToolArguments& arguments) {
    GuiOptions options;
    if (!ParseOptions(arguments, options)) return GuiUsage();
    try {
        RenderToPng(options);
        return 0;
    } catch (const KivException& exception) {
        std::fprintf(stderr, "%s\n", exception.GetMessage().ToUTF8().c_str());
        return 1;
    }
}
