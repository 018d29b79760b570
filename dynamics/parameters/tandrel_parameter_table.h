#pragma once
#include <cstdint>

#include "dynamics/parameters/tandrel_parameter_slot.h"
#include "parameters/kiv_effect_parameter.h"
#include "parameters/kiv_effect_special_parameter.h"
#include "parameters/kiv_parameter_registration.h"
#include "parameters/kiv_parameter_view.h"

class KivObject;

// The on/off switches of the three switchable panels. The group records point at them, so
// the host and the processing see the same byte.
struct TandrelGroupSwitches {
    uint8_t gate = 0;
    uint8_t processor1 = 1;
    uint8_t processor2 = 0;
};

// Everything the user of the dynamics processor can automate: the 33 declaration records in
// slot order and the drawn transfer shape as a compound parameter. The records refer to the
// switches and to each other's storage, so the table never moves once built: the effect
// holds it as a member and registers `Declaration()`.
class TandrelParameterTable {
public:
    // Marks of the declaration flags that the editor reads and the processing does not: the
    // second processor's records, and the panels that start folded.
    static constexpr uint8_t kSecondProcessorMark = 1 << 2;
    static constexpr uint8_t kFoldedPanelMark = 1 << 7;
    static constexpr uint32_t kCustomShapeTag = 61;
    // Mark of the second flags byte of "speed": the release mode makes use of it, so the
    // editor shows the knob as active.
    static constexpr uint8_t kInUseMark = 1 << 2;

    // `customShape` is the drawn transfer shape (an envelope-graph model); `shapeEditor` is
    // where the effect keeps its open editor.
    TandrelParameterTable(KivObject* customShape, KivParameterEditorLink shapeEditor);
    TandrelParameterTable(const TandrelParameterTable&) = delete;
    TandrelParameterTable& operator=(const TandrelParameterTable&) = delete;

    KivEffectParameterTable Declaration() noexcept;

    KivEffectParameter& Record(int32_t slot) noexcept { return records_[slot]; }
    const KivEffectParameter& Record(int32_t slot) const noexcept { return records_[slot]; }
    const KivEffectSpecialParameter& CustomShapeRecord() const noexcept { return customShape_; }
    TandrelGroupSwitches& Switches() noexcept { return switches_; }
    const TandrelGroupSwitches& Switches() const noexcept { return switches_; }

    // Current values as the processing reads them: the target while the record is being
    // smoothed, the value otherwise.
    double Value(int32_t slot) const noexcept;
    int32_t Item(int32_t slot) const noexcept;
    bool IsOn(int32_t slot) const noexcept;  // bool records and switchable groups

    // Marks "Auto speed" as in use for the automatic release modes and clears the mark for
    // the others. The caller tells the host that the parameter display changed.
    void MarkAutoSpeedUse(int32_t releaseMode) noexcept;

private:
    void DeclareGroups();
    void DeclareFloats();
    void DeclareChoices();
    void NameForHosts();
    void DeclareCustomShape(KivObject* customShape, KivParameterEditorLink shapeEditor);
    void MarkRecords();

    KivEffectParameter records_[kTandrelSlotCount];
    KivEffectSpecialParameter customShape_;
    TandrelGroupSwitches switches_;
};
