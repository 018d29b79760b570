#pragma once

// The texts the XML reader and writer raise. The markup messages are raised with code 256
// behind kMalformedPrefix; tools and tests that classify failures compare against these.
namespace KivXMLMessages {

inline constexpr const char* kMalformedPrefix = "Invalid file contents. ";

inline constexpr const char* kInvalidClosingSyntax = "Invalid closing element syntax.";
inline constexpr const char* kInvalidSpecialSequence = "Invalid special element sequence.";
inline constexpr const char* kNoElementName = "No element name found.";
inline constexpr const char* kInvalidCharacterForAttribute = "Invalid character found where attribute expected.";
inline constexpr const char* kSpecialCharacterForAttribute = "Special character found where attribute expected.";
inline constexpr const char* kNoEndingDelimiter = "No ending delimiter found.";
inline constexpr const char* kInvalidFinishingSequence = "Invalid element finishing sequence.";
inline constexpr const char* kInvalidClosingName = "Invalid closing element name.";

inline constexpr const char* kMarkupMessages[] = {
    kInvalidClosingSyntax,         kInvalidSpecialSequence,    kNoElementName,
    kInvalidCharacterForAttribute, kSpecialCharacterForAttribute, kNoEndingDelimiter,
    kInvalidFinishingSequence,     kInvalidClosingName,
};

inline constexpr const char* kTextOutsideElement = "Text outside of any element.";
inline constexpr const char* kNoElements = "The XML does not contain any elements.";
inline constexpr const char* kEmptyName = "XML entity cannot have empty name.";

inline constexpr const char* kNoCachedAttribute =
    "There is no attribute in the cache. Previous call to HasAttribute probably did not succeed.";
inline constexpr const char* kNoCachedSubItem =
    "There is no subitem in the cache. Previous call to HasSubItem probably did not succeed.";
inline constexpr const char* kMissingAttribute = "Could not find required attribute ({0}).";
inline constexpr const char* kMissingSubItem = "Could not find required subitem ({0}).";
inline constexpr const char* kIteratorNotStarted = "XML item iterator has not been initialized.";

}  // namespace KivXMLMessages
