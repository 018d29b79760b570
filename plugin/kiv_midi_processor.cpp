#include "plugin/kiv_midi_processor.h"

void KivMIDIProcessor::ProcessNote(int32_t, double, int32_t, int32_t, double, bool) {}
void KivMIDIProcessor::ProcessAllNotesOff(int32_t) {}
void KivMIDIProcessor::ProcessChannelNotesOff(int32_t, double, int32_t) {}
void KivMIDIProcessor::ProcessAftertouch(int32_t, double, int32_t, double, int32_t) {}
void KivMIDIProcessor::ProcessProgramChange(int32_t, double, int32_t, int32_t) {}
void KivMIDIProcessor::ProcessFirstChannelValue(int32_t, double, int32_t, double) {}
void KivMIDIProcessor::ProcessSecondChannelValue(int32_t, double, int32_t, double) {}
void KivMIDIProcessor::ProcessPitchBend(int32_t, double, int32_t, double) {}
void KivMIDIProcessor::ProcessMIDIController(int32_t, double, int32_t, double, int32_t) {}
void KivMIDIProcessor::ProcessMIDIEvent(int32_t, const uint8_t*) {}
void KivMIDIProcessor::ReservedMIDIOperation1() {}
void KivMIDIProcessor::ReservedMIDIOperation2() {}
