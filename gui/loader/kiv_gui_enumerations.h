#pragma once
#include <cstdint>

#include "gui/loader/kiv_owned_value.h"
#include "threads/kiv_thread.h"

// Enumerations that GUI descriptions choose by name. Their items are the toolkit's; each
// table lists the texts in enumerator order.
enum class KivStdIcon : int32_t { kNone, kInformation, kWarning, kError, kQuestion, kApplication };
enum class KivStdBitmap : int32_t { kNone, kLogo, kCheckMark, kArrowUp, kArrowDown, kArrowLeft, kArrowRight };
enum class KivStdCursor : int32_t { kArrow, kHand, kText, kWait, kCross, kSizeHorizontal, kSizeVertical, kSizeAll, kForbidden };
enum class KivStdFont : int32_t { kNormal, kSmall, kBold, kLarge, kTitle, kFixed };
enum class KivStdColor : int32_t { kBackground, kText, kHighlight, kHighlightText, kEditorBackground, kTitleBackground, kDisabledText };
enum class KivHorizontalObjectLayout : int32_t { kLeft, kCenter, kRight };
enum class KivVerticalObjectLayout : int32_t { kTop, kCenter, kBottom };
enum class KivControlType : int32_t { kNormal, kFlat, kFramed, kTransparent };
enum class KivCaptionType : int32_t { kNone, kLeft, kTop, kRight, kBottom, kInside };
enum class KivModalValue : int32_t { kNone, kOk, kCancel, kYes, kNo, kAbort, kRetry, kIgnore };
enum class KivCheckBoxState : int32_t { kUnchecked, kChecked, kUndetermined };

// Languages and countries of the user interface.
struct KivLocale {
    enum class Language : int32_t { kEnglish, kGerman, kFrench, kSpanish, kItalian, kCzech, kJapanese };
    enum class Country : int32_t { kUnitedStates, kUnitedKingdom, kGermany, kFrance, kSpain, kItaly, kCzechRepublic, kJapan };
};

#define KIV_ENUM_TEXTS(E)                          \
    template <>                                    \
    struct KivEnumTexts<E> {                       \
        static const char* const* Texts();         \
        static int32_t Count();                    \
    }

KIV_ENUM_TEXTS(KivStdIcon);
KIV_ENUM_TEXTS(KivStdBitmap);
KIV_ENUM_TEXTS(KivStdCursor);
KIV_ENUM_TEXTS(KivStdFont);
KIV_ENUM_TEXTS(KivStdColor);
KIV_ENUM_TEXTS(KivHorizontalObjectLayout);
KIV_ENUM_TEXTS(KivVerticalObjectLayout);
KIV_ENUM_TEXTS(KivControlType);
KIV_ENUM_TEXTS(KivCaptionType);
KIV_ENUM_TEXTS(KivModalValue);
KIV_ENUM_TEXTS(KivCheckBoxState);
KIV_ENUM_TEXTS(KivLocale::Language);
KIV_ENUM_TEXTS(KivLocale::Country);
KIV_ENUM_TEXTS(KivThread::Priority);

#undef KIV_ENUM_TEXTS
