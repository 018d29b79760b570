#pragma once

// Where a block sits on the host's timeline, so that a sample offset inside the block can be
// given as a position in beats.
class KivMIDITimeBase {
public:
    virtual double GetTempo() const = 0;       // beats per minute
    virtual double GetSampleRate() const = 0;  // host samples per second
    virtual double GetBlockStartPosition() const = 0;  // beats

protected:
    ~KivMIDITimeBase() = default;
};
