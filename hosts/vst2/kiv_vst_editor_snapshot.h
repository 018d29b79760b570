#pragma once
#include <cstdint>

#include "hosts/vst2/vst2_abi.h"

// A picture of the editor for offline tools, through effVendorSpecific with this index. The
// value says what to do: kStart builds the editor offscreen (before processing, so that its
// meters follow the audio), kRefresh runs the editor's periodic refresh as its timer would on
// screen (a renderer calls it every 50 ms of audio, so that held values see the whole file),
// kPaint fills the record pointed to by ptr (drawn at the scale in opt, 1 when opt is 0),
// kEnd drops the editor.
// Each answers 1 when done. The pixels stay the plug-in's until the next call or effClose.
namespace KivVstEditorSnapshot {

constexpr int32_t kIndex = VstFourCharCode('K', 'i', 'v', 'P');
enum Step : intptr_t { kStart = 1, kPaint = 2, kEnd = 3, kRefresh = 4 };

// How often a renderer asks for kRefresh: the editor's refresh period on screen.
constexpr int32_t kRefreshMilliseconds = 50;

struct Picture {
    int32_t width;
    int32_t height;
    const uint32_t* pixels;  // 0xAARRGGBB, row by row
};

}  // namespace KivVstEditorSnapshot
