#include "gui/loader/kiv_gui_enumerations.h"

#include <array>
#include <iterator>

// The texts of enumeration E, in enumerator order, kept in the array `table`.
#define KIV_ENUM_TABLE(E, table, ...)                                                      \
    namespace {                                                                            \
    const char* const table[] = {__VA_ARGS__};                                             \
    }                                                                                      \
    const char* const* KivEnumTexts<E>::Texts() { return table; }                          \
    int32_t KivEnumTexts<E>::Count() { return static_cast<int32_t>(std::size(table)); }

KIV_ENUM_TABLE(KivStdIcon, kIcons, "None", "Information", "Warning", "Error", "Question", "Application")
KIV_ENUM_TABLE(KivStdBitmap, kBitmaps, "None", "Logo", "Check mark", "Arrow up", "Arrow down", "Arrow left",
               "Arrow right")
KIV_ENUM_TABLE(KivStdCursor, kCursors, "Arrow", "Hand", "Text", "Wait", "Cross", "Size horizontal", "Size vertical",
               "Size all", "Forbidden")
KIV_ENUM_TABLE(KivStdFont, kFonts, "Normal", "Small", "Bold", "Large", "Title", "Fixed")
KIV_ENUM_TABLE(KivStdColor, kColors, "Background", "Text", "Highlight", "Highlight text", "Editor background",
               "Title background", "Disabled text")
KIV_ENUM_TABLE(KivHorizontalObjectLayout, kHorizontalPlaces, "Left", "Center", "Right")
KIV_ENUM_TABLE(KivVerticalObjectLayout, kVerticalPlaces, "Top", "Center", "Bottom")
KIV_ENUM_TABLE(KivControlType, kControlTypes, "Normal", "Flat", "Framed", "Transparent")
KIV_ENUM_TABLE(KivCaptionType, kCaptionTypes, "None", "Left", "Top", "Right", "Bottom", "Inside")
KIV_ENUM_TABLE(KivModalValue, kModalValues, "None", "OK", "Cancel", "Yes", "No", "Abort", "Retry", "Ignore")
KIV_ENUM_TABLE(KivCheckBoxState, kCheckBoxStates, "Unchecked", "Checked", "Undetermined")
KIV_ENUM_TABLE(KivLocale::Language, kLanguages, "English", "German", "French", "Spanish", "Italian", "Czech",
               "Japanese")
KIV_ENUM_TABLE(KivLocale::Country, kCountries, "United States", "United Kingdom", "Germany", "France", "Spain",
               "Italy", "Czech Republic", "Japan")

#undef KIV_ENUM_TABLE

// The thread priorities keep their names with the thread class.
namespace {

std::array<const char*, KivThread::kPriorityCount> PriorityTexts() {
    std::array<const char*, KivThread::kPriorityCount> texts{};
    for (int32_t index = 0; index < KivThread::kPriorityCount; ++index) {
        texts[static_cast<size_t>(index)] = KivThread::PriorityName(static_cast<KivThread::Priority>(index));
    }
    return texts;
}

}  // namespace

const char* const* KivEnumTexts<KivThread::Priority>::Texts() {
    static const std::array<const char*, KivThread::kPriorityCount> texts = PriorityTexts();
    return texts.data();
}

int32_t KivEnumTexts<KivThread::Priority>::Count() { return KivThread::kPriorityCount; }
