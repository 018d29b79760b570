#include "parameters/kiv_parameter_main_base.h"

#include "base/kiv_format.h"
#include "parameters/kiv_text_join.h"

ParameterMainBase::ParameterMainBase(KivParameterCoreLink* core, const KivString& prefix, const KivString& name,
                                     const KivString& qualifier, const KivString& section)
    : KivAutomationAdapter(1, core, prefix), name_(name), qualifier_(qualifier), section_(section) {}

KivString ParameterMainBase::GetParameterName(int32_t) const {
    if (section_.IsEmpty()) return name_;
    return KivFormat("{0} ({1})").Argument(name_).Argument(section_).Result();
}

KivString ParameterMainBase::GetParameterNameWithoutSection(int32_t) const { return name_; }

KivString ParameterMainBase::GetParameterSection(int32_t) const {
    return KivJoinNonEmpty(qualifier_, section_, " - ");
}

KivString ParameterMainBase::GetParameterID(int32_t local) const {
    if (qualifier_.IsEmpty()) return GetParameterName(local);
    return qualifier_ + " " + GetParameterName(local);
}
