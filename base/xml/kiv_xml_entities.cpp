#include "base/xml/kiv_xml_entities.h"

namespace {

struct Entity {
    const char* name;
    char16_t character;
};

constexpr Entity kEntities[] = {
    {"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"apos", u'\''}, {"quot", u'"'}, {"#10", u'\n'},
};

// The entity whose name and ";" follow the "&" at units[0], or null.
const Entity* MatchEntity(const char16_t* units, int32_t available) {
    for (const Entity& entity : kEntities) {
        int32_t length = 0;
        while (entity.name[length] != 0 && length + 1 < available &&
               KivFold::Character(units[length + 1]) == static_cast<char16_t>(entity.name[length]))
            ++length;
        if (entity.name[length] == 0 && length + 1 < available && units[length + 1] == u';') return &entity;
    }
    return nullptr;
}

int32_t NameLength(const Entity& entity) {
    int32_t length = 0;
    while (entity.name[length] != 0) ++length;
    return length;
}

const Entity* EntityFor(char16_t character) {
    if (character > u'>') return nullptr;  // every escaped character sorts below '?'
    for (const Entity& entity : kEntities)
        if (entity.character == character) return &entity;
    return nullptr;
}

}  // namespace

namespace KivXMLEntities {

void AppendDecoded(const char16_t* units, int32_t count, KivString& target) {
    int32_t runStart = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (units[i] != u'&') continue;
        const Entity* entity = MatchEntity(units + i, count - i);
        if (!entity) continue;
        target.Append(units + runStart, i - runStart);
        target.Append(entity->character);
        i += NameLength(*entity) + 1;  // the loop steps over the ";"
        runStart = i + 1;
    }
    target.Append(units + runStart, count - runStart);
}

KivString Decode(const KivString& text) {
    if (text.Find(u'&') < 0) return text;
    KivString source(text);
    KivString decoded;
    AppendDecoded(source.Units(), source.Length(), decoded);
    return decoded;
}

void AppendEscaped(const KivString& text, KivString& target) {
    KivString source(text);
    const char16_t* units = source.Units();
    int32_t runStart = 0;
    for (int32_t i = 0; i < source.Length(); ++i) {
        const Entity* entity = EntityFor(units[i]);
        if (!entity) continue;
        target.Append(units + runStart, i - runStart);
        target.Append(u'&').Append(KivString(entity->name)).Append(u';');
        runStart = i + 1;
    }
    target.Append(units + runStart, source.Length() - runStart);
}

KivString Escape(const KivString& text) {
    KivString escaped;
    AppendEscaped(text, escaped);
    return escaped;
}

}  // namespace KivXMLEntities
