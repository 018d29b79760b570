#pragma once
#include "parameters/kiv_automation_adapter.h"

// A named parameter object covering one host parameter: name, qualifier and the section it
// was declared in. "Threshold" in section "Compressor 1" is called "Threshold (Compressor 1)".
class ParameterMainBase : public KivAutomationAdapter {
public:
    ParameterMainBase(KivParameterCoreLink* core, const KivString& prefix, const KivString& name,
                      const KivString& qualifier, const KivString& section);

    KivString GetParameterName(int32_t local) const override;
    KivString GetParameterNameWithoutSection(int32_t local) const override;
    KivString GetParameterSection(int32_t local) const override;
    KivString GetParameterID(int32_t local) const override;

    const KivString& GetName() const noexcept { return name_; }
    const KivString& GetQualifier() const noexcept { return qualifier_; }
    const KivString& GetSection() const noexcept { return section_; }

protected:
    KivString name_;
    KivString qualifier_;
    KivString section_;
};
