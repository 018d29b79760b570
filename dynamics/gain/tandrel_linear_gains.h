#pragma once

class TandrelParameterTable;

// The input and output gains as factors, with the temp gain applied before the processing
// and taken back after it.
struct TandrelLinearGains {
    double input;
    double output;
};

// Temp gain t (dB) is added to the input gain and taken off the output gain. When processor
// 1 compresses (enabled, ratio code above 1) a raised temp gain is taken back only by
// t / ratio, which is what the compressor leaves of it at its threshold: the amount of
// compression changes while the output level stays put.
TandrelLinearGains TandrelComputeLinearGains(double inputDecibels, double outputDecibels, double tempDecibels,
                                             bool processor1Enabled, double ratioCode1);
TandrelLinearGains TandrelComputeLinearGains(const TandrelParameterTable& table);
