#pragma once
#include <cstdint>
#include <vector>

#include "base/xml/kiv_xml_item.h"

class KivKestruneAudioEffectPlugin;

// The model behind the "ABCD morphing" pad: every parameter's values in slots A, B, C and D,
// blended bilinearly by a handle position (x left to right, y top to bottom, both 0..1) with A
// top left, B top right, C bottom left and D bottom right. Built from the slots' stored items
// and the live settings at the moment the pad opens, which it keeps for cancelling.
class KivPresetMorph {
public:
    // A parameter whose blended value is no farther than this from its current one is left
    // alone, so parameters on which the four slots agree are never touched.
    static constexpr double kChangeThreshold = 0.00001;

    // The current slot's item must be up to date. Reads the corner values by loading each of
    // the slots A..D and puts the live settings back.
    explicit KivPresetMorph(KivKestruneAudioEffectPlugin& plugin);
    KivPresetMorph(const KivPresetMorph&) = delete;
    KivPresetMorph& operator=(const KivPresetMorph&) = delete;

    double GetX() const noexcept { return x_; }
    double GetY() const noexcept { return y_; }
    // Moves the handle (held to 0..1) and applies the blend.
    void MoveTo(double x, double y);
    // Sets every parameter that the blend moves, tells the host of it as automation, all
    // under the plug-in's state mutex.
    void Apply();
    // The live settings from before the pad opened.
    void Restore();

    // The blend of the four corner values at (x, y).
    static double Blend(const double corners[4], double x, double y) noexcept;

private:
    struct CornerValues {
        double slot[4];
    };

    void PlaceHandleForCurrentSlot();
    void ReadCornerValues();
    void ApplyParameter(int32_t index);

    KivKestruneAudioEffectPlugin& plugin_;
    double x_ = 0.5;
    double y_ = 0.5;
    int32_t parameterCount_ = 0;
    std::vector<CornerValues> corners_;
    KivXMLItem backup_;
};
