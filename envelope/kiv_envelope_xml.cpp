// The XML form of an envelope: every point attribute is written only when it differs from
// its default, so that stored shapes stay short and older documents load unchanged.
#include <algorithm>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "envelope/kiv_envelope.h"

namespace {

// Values are written with 12 significant digits, or with 17 where 12 would not read back as
// the same double: a restored project, or a slot switched back, then plays bit for bit as
// the instance it was saved from (with 12 it could differ in the last bit of a sample).
constexpr int32_t kSignificantDigits = 12;
constexpr uint8_t kFlagsAddedWhenAbsent = KivEnvelopePoint::kSameSmoothness | KivEnvelopePoint::kSymmetricWidth;

int32_t DefaultSegmentType(double curvature) { return curvature == 0.0 ? 1 : 2; }

void WriteNumber(KivXMLItem& item, const char* name, double value, double fallback) {
    if (value != fallback) item.SetAttribute(name, KivNumber::DoubleToExactText(value, kSignificantDigits));
}

void WriteInteger(KivXMLItem& item, const char* name, int64_t value, int64_t fallback) {
    if (value != fallback) item.SetAttribute(name, KivNumber::IntegerToText(value));
}

double ReadNumber(const KivXMLItem& item, const char* name, double fallback) {
    return item.HasAttribute(name) ? KivNumber::TextToDouble(item.GetAttribute()) : fallback;
}

int64_t ReadInteger(const KivXMLItem& item, const char* name, int64_t fallback) {
    return item.HasAttribute(name) ? KivNumber::TextToInteger(item.GetAttribute()) : fallback;
}

double LimitCurvature(double value) { return std::clamp(value, -1.0, 1.0); }

void StorePoint(const KivEnvelopePoint& point, KivXMLItem& item) {
    WriteNumber(item, "x", point.x, 0.0);
    WriteNumber(item, "y", point.y, 0.0);
    WriteNumber(item, "c", point.curvature, 0.0);
    WriteNumber(item, "cx", point.horizontalCurvature, 0.0);
    WriteInteger(item, "Type", point.segmentType, DefaultSegmentType(point.curvature));
    WriteInteger(item, "Flags", point.flags, KivEnvelopePoint::kNewPointFlags);
    WriteInteger(item, "SmoothingType", point.smoothingKind, KivEnvelopePoint::kBezierCorner);
    WriteNumber(item, "SmoothX1", point.leftSmoothness, 0.0);
    if (!point.Has(KivEnvelopePoint::kSameSmoothness)) WriteNumber(item, "SmoothX2", point.rightSmoothness, 0.0);
}

// "Flags" wins; older documents only say whether the point was "fixed".
uint8_t ReadFlags(const KivXMLItem& item) {
    if (item.HasAttribute("Flags")) return static_cast<uint8_t>(KivNumber::TextToInteger(item.GetAttribute()));
    const auto fixed = static_cast<uint8_t>(ReadInteger(item, "fixed", 0));
    return static_cast<uint8_t>(fixed | kFlagsAddedWhenAbsent);
}

void LoadPoint(const KivXMLItem& item, KivEnvelopePoint& point) {
    point.x = ReadNumber(item, "x", 0.0);
    point.y = ReadNumber(item, "y", 0.0);
    point.curvature = LimitCurvature(ReadNumber(item, "c", 0.0));
    point.horizontalCurvature = LimitCurvature(ReadNumber(item, "cx", 0.0));
    point.segmentType = static_cast<int32_t>(ReadInteger(item, "Type", DefaultSegmentType(point.curvature)));
    point.flags = ReadFlags(item);
    point.smoothingKind = static_cast<int32_t>(ReadInteger(item, "SmoothingType", KivEnvelopePoint::kBezierCorner));
    point.leftSmoothness = ReadNumber(item, "SmoothX1", 0.0);
    point.rightSmoothness = point.Has(KivEnvelopePoint::kSameSmoothness) ? point.leftSmoothness
                                                                         : ReadNumber(item, "SmoothX2", 0.0);
}

}  // namespace

void KivEnvelope::Store(KivXMLItem& element) const {
    element.SetAttribute("DrawingMode", KivNumber::IntegerToText(drawingMode_ ? 1 : 0));
    element.SetAttribute("SnapToGridX", KivNumber::IntegerToText(snapToGridX_ ? 1 : 0));
    element.SetAttribute("SnapToGridY", KivNumber::IntegerToText(snapToGridY_ ? 1 : 0));
    for (const KivEnvelopePoint* point : points_) StorePoint(*point, element.AddSubItem("Point"));
}

void KivEnvelope::Load(const KivXMLItem& element) {
    drawingMode_ = ReadInteger(element, "DrawingMode", 0) != 0;
    snapToGridX_ = ReadInteger(element, "SnapToGridX", 0) != 0;
    snapToGridY_ = ReadInteger(element, "SnapToGridY", 0) != 0;
    ClearPoints();
    for (int32_t i = 0; i < element.GetSubItemCount(); ++i) {
        const KivXMLItem& item = element.GetSubItemAt(i);
        if (!item.GetName().EqualsFolded("Point")) continue;
        LoadPoint(item, AddPoint(0.0, 0.0));
    }
    Update();
}
