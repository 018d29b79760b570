#include "dynamics/editor/tandrel_editor_description.h"

#include <cstring>

#include "base/kiv_byte_buffer.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"

void TandrelEditorDescription::Read(const char* description, KivXMLItem& root) {
    KivMemoryStream stream(KivByteBuffer::Borrow(const_cast<char*>(description), static_cast<int32_t>(std::strlen(description))));
    root.Load(stream);
}

const char* TandrelEditorDescription::MainWindow() {
    return R"xml(<?xml version="1.0" encoding="utf-8"?>
<window sizex="1000" sizey="712" caption="TandrelMini">
  <panel posx="0" posy="0" sizex="1000" sizey="76">
    <static caption="TANDREL MINI" posx="14" posy="12" sizex="120" sizey="20" captiontype="0"/>
    <static caption="Preset" posx="150" posy="12" sizex="44" sizey="20"/>
    <comboedit id="presets" posx="196" posy="10" sizex="52" sizey="24" help="Preset slots A to H: each holds complete settings in memory."/>
    <button id="ab" caption="A/B" posx="256" posy="10" sizex="48" sizey="24" help="Switches between the current preset slot and the one used before it."/>
    <button id="copy" caption="Copy" posx="310" posy="10" sizex="56" sizey="24" help="Copies the current settings to the clipboard."/>
    <button id="paste" caption="Paste" posx="372" posy="10" sizex="56" sizey="24" help="Loads settings from the clipboard."/>
    <button id="morph" caption="Morph" posx="444" posy="10" sizex="64" sizey="24" help="Morphs continuously between four preset slots."/>
    <button id="library" caption="Presets" posx="514" posy="10" sizex="70" sizey="24" help="Opens the preset library."/>
    <button id="midi" caption="MIDI" posx="590" posy="10" sizex="56" sizey="24" help="Assigns MIDI controllers to parameters."/>
    <button id="savedefault" caption="Default" posx="652" posy="10" sizex="62" sizey="24" help="&lt;name&gt;Save as default&lt;/name&gt;: every new instance starts with the current settings."/>
    <button id="factoryreset" caption="Reset" posx="720" posy="10" sizex="46" sizey="24" help="&lt;name&gt;Reset to factory settings&lt;/name&gt;: the settings of a new instance before any saved defaults. The preset slots and the saved defaults stay."/>
    <button id="Settings" caption="Settings" posx="772" posy="10" sizex="84" sizey="24" help="&lt;name&gt;Settings button&lt;/name&gt; shows additional dynamics detector settings."/>
    <button id="help" caption="?" toggle="1" posx="864" posy="10" sizex="32" sizey="24" help="Shows the help of the control under the mouse."/>
    <comboedit id="zoom" posx="904" posy="10" sizex="82" sizey="24" help="The editor's size; hosts that allow it also resize the window freely."/>
    <button id="bypass" caption="Bypass" toggle="1" posx="14" posy="44" sizex="72" sizey="24" help="Bypass: the input passes unprocessed, delayed by the reported latency so that it stays in time. The host's own bypass switch is the same one."/>
    <static caption="Channels" posx="100" posy="46" sizex="62" sizey="20"/>
    <parameter name="ChannelMode" posx="164" posy="44" sizex="150" sizey="24" help="Channel mode: what the dynamics process. Left or Right alone passes the other channel unchanged; Mid and Side convert the pair to mid (L + R) / 2 and side (L - R) / 2 and back."/>
    <static caption="Oversampling" posx="328" posy="46" sizex="88" sizey="20"/>
    <comboedit id="oversampling" posx="418" posy="44" sizex="64" sizey="24" help="Oversampling: the dynamics run at 2, 4 or 8 times the sample rate, which keeps fast gain changes from folding back as aliasing. It adds latency, which the host is told."/>
    <button id="undo" caption="Undo" posx="496" posy="44" sizex="56" sizey="24" help="Undoes the last change made in the editor or the last preset load (Ctrl+Z)."/>
    <button id="redo" caption="Redo" posx="556" posy="44" sizex="56" sizey="24" help="Redoes the change undone last (Ctrl+Shift+Z)."/>
  </panel>

  <panel caption="Processor 1" posx="10" posy="86" sizex="300" sizey="150">
    <parameter name="threshold1" posx="8" posy="26" sizex="64" sizey="88"/>
    <parameter name="ratio1" posx="78" posy="26" sizex="64" sizey="88"/>
    <parameter name="kneesize1" posx="148" posy="26" sizex="64" sizey="88"/>
    <parameter name="range1" posx="218" posy="26" sizex="64" sizey="88"/>
    <parameter name="Processor1" caption="Active" posx="12" posy="120" sizex="90" sizey="22"/>
    <button id="Expander" caption="↓ Expander" toggle="1" posx="188" posy="118" sizex="100" sizey="24" help="Downward expansion: below the threshold the level falls faster instead of being compressed above it."/>
  </panel>
  <panel caption="Processor 2" posx="10" posy="246" sizex="300" sizey="150">
    <parameter name="threshold2" posx="8" posy="26" sizex="64" sizey="88"/>
    <parameter name="ratio2" posx="78" posy="26" sizex="64" sizey="88"/>
    <parameter name="kneesize2" posx="148" posy="26" sizex="64" sizey="88"/>
    <parameter name="range2" posx="218" posy="26" sizex="64" sizey="88"/>
    <parameter name="Processor2" caption="Active" posx="12" posy="120" sizex="90" sizey="22"/>
    <button id="Expander" caption="↓ Expander" toggle="1" posx="188" posy="118" sizex="100" sizey="24" help="Downward expansion: below the threshold the level falls faster instead of being compressed above it."/>
  </panel>
  <panel caption="Gate" posx="10" posy="406" sizex="300" sizey="150">
    <parameter name="gatethreshold" posx="8" posy="26" sizex="64" sizey="88"/>
    <parameter name="gatesize" posx="78" posy="26" sizex="64" sizey="88"/>
    <parameter name="gateknee" posx="148" posy="26" sizex="64" sizey="88"/>
    <parameter name="gatebottom" posx="218" posy="26" sizex="64" sizey="88"/>
    <parameter name="Gate" caption="Active" posx="12" posy="120" sizex="90" sizey="22"/>
  </panel>

  <panel caption="Transfer" posx="320" posy="86" sizex="360" sizey="310">
    <grapheditor id="shapeeditor" caption="Processing shape" posx="10" posy="28" sizex="340" sizey="240" help="Output level against input level. The axes are not logarithmic, because silence must be representable: the shape is drawn on a root-amplitude scale, labelled in decibels."/>
    <button id="customshape" caption="✎ Custom shape" toggle="1" posx="10" posy="276" sizex="140" sizey="24" help="When enabled, the shape inherits the automatic settings and can be drawn by hand."/>
    <parameter name="shapemode" posx="190" posy="276" sizex="160" sizey="24"/>
  </panel>
  <panel caption="Detection" posx="320" posy="406" sizex="360" sizey="150">
    <parameter name="attack" posx="4" posy="26" sizex="58" sizey="84"/>
    <parameter name="release" posx="62" posy="26" sizex="58" sizey="84"/>
    <parameter name="speed" caption="Speed" posx="120" posy="26" sizex="58" sizey="84"/>
    <parameter name="peakhold" caption="Hold" posx="178" posy="26" sizex="58" sizey="84"/>
    <parameter name="rmslength" caption="RMS" posx="236" posy="26" sizex="58" sizey="84"/>
    <parameter name="lookahead" caption="Ahead" posx="294" posy="26" sizex="58" sizey="84"/>
    <static caption="Release mode" posx="10" posy="120" sizex="90" sizey="22"/>
    <parameter name="releasemode" posx="104" posy="118" sizex="170" sizey="24"/>
    <button id="detectorbutton" caption="Detector" toggle="1" posx="280" posy="118" sizex="72" sizey="24" help="Opens the detector's filters: what the detector listens to, and how."/>
  </panel>

  <panel id="meters" caption="Meters" posx="690" posy="86" sizex="300" sizey="316" help="Output meters: RMS in blue from the bottom, peak in black above it, red above about -1 dB, the slow peak as a white line. Gain reduction in amber from the top. Click a meter to reset the held values.">
    <dbaxis id="dBaxis" posx="4" posy="24" sizex="30" sizey="248"/>
    <control id="axisfiller" posx="4" posy="272" sizex="30" sizey="36"/>
    <static caption="Pk" posx="6" posy="270" sizex="28" sizey="16"/>
    <static caption="GR" posx="6" posy="288" sizex="28" sizey="16"/>
  </panel>
  <panel caption="Output" posx="690" posy="412" sizex="300" sizey="144">
    <parameter name="gain" caption="Input" posx="4" posy="26" sizex="58" sizey="84"/>
    <parameter name="outputgain" caption="Output" posx="62" posy="26" sizex="58" sizey="84"/>
    <parameter name="subgain" caption="Temp" posx="120" posy="26" sizex="58" sizey="84"/>
    <parameter name="depth" posx="178" posy="26" sizex="58" sizey="84"/>
    <parameter name="linkchannels" caption="Link" posx="236" posy="26" sizex="58" sizey="84"/>
    <parameter name="maximize" caption="Maximize to 0 dB" posx="10" posy="116" sizex="200" sizey="22"/>
  </panel>

  <drawer id="detector" caption="Detector" visible="0" posx="10" posy="86" sizex="670" sizey="310">
    <detectorcurve id="detectorcurve" posx="10" posy="28" sizex="440" sizey="240" help="What the detector hears: the response of its filters together. Drag a numbered band in frequency and gain, turn the wheel over it for its Q, double-click it for 0 dB; drag HP and LP along the bottom."/>
    <checkbox id="equalizer" caption="Equaliser" posx="10" posy="276" sizex="110" sizey="24" help="Switches the six-band side-chain equaliser on: a low shelf, four peaks and a high shelf shaping what the detector hears."/>
    <static caption="Drag bands, wheel for Q, double-click for 0 dB" posx="126" posy="278" sizex="324" sizey="20"/>
    <checkbox id="highpass" caption="High-pass" posx="462" posy="28" sizex="96" sizey="22" help="A high-pass in the side-chain: the detector stops hearing the bass below its frequency, so a kick drum no longer pumps the mix."/>
    <checkbox id="lowpass" caption="Low-pass" posx="564" posy="28" sizex="96" sizey="22" help="A low-pass in the side-chain: the detector stops hearing what lies above its frequency."/>
    <knob id="highpassfrequency" caption="Frequency" posx="472" posy="52" sizex="64" sizey="84" help="The side-chain high-pass frequency."/>
    <knob id="lowpassfrequency" caption="Frequency" posx="574" posy="52" sizex="64" sizey="84" help="The side-chain low-pass frequency."/>
    <checkbox id="listen" caption="Listen to the side-chain" posx="462" posy="142" sizex="198" sizey="22" help="The output plays what the detector hears through its filters, instead of the processed audio."/>
    <checkbox id="psychoacoustic" caption="Psycho-acoustic prefilter" posx="462" posy="166" sizex="198" sizey="22" help="The detector hears through the ear's sensitivity at a moderate level, so it follows loudness rather than level."/>
    <checkbox id="threephase" caption="Three-phase filtering" posx="462" posy="190" sizex="198" sizey="22" help="Measures the level from phase-shifted copies of the signal, which reduces distortion at short attack times."/>
    <checkbox id="truerms" caption="True RMS" posx="462" posy="214" sizex="198" sizey="22" help="A true RMS over the RMS length instead of the simpler running approximation."/>
    <static caption="Key" posx="462" posy="244" sizex="40" sizey="22"/>
    <parameter name="sidechain" posx="504" posy="242" sizex="156" sizey="24"/>
    <button id="detectorclose" caption="Close" posx="590" posy="276" sizex="70" sizey="24" help="Closes the detector drawer."/>
  </drawer>

  <panel caption="Level history" posx="10" posy="566" sizex="980" sizey="116" help="The last seconds of input level (grey), output level (blue) and gain reduction (amber, from the top), newest on the right, on one decibel scale.">
    <levelhistory id="history" posx="4" posy="24" sizex="970" sizey="86"/>
  </panel>

  <static id="helpline" posx="14" posy="686" sizex="972" sizey="20"/>
</window>
)xml";
}

const char* TandrelEditorDescription::AdvancedSettingsWindow() {
    return R"xml(<?xml version="1.0" encoding="utf-8"?>
<window id="AdvancedDetectorSettings" caption="Advanced settings" sizex="520" sizey="452">
  <panel caption="Signal level detector" posx="10" posy="10" sizex="500" sizey="112">
    <checkbox id="TrueRMS" caption="True RMS" posx="12" posy="30" sizex="220" sizey="22" help="Enables true RMS calculation instead of simplified approximation with a little different response."/>
    <checkbox id="DynamicsPsychoAcousticPrefiltering" caption="Psycho-acoustic prefiltering" posx="12" posy="56" sizex="240" sizey="22" help="Enables simulation of human hearing system and makes the processor use an approximated loudness as input level."/>
    <checkbox id="ThreePhaseFiltering" caption="Spectral smoothing" posx="12" posy="82" sizex="220" sizey="22" help="Enables special pre processing, which can further reduce distortion, especiall with low attack values."/>
    <checkbox id="NotLimitAbove0db" caption="Do not limit above 0dB" posx="260" posy="30" sizex="220" sizey="22" help="If enabled and the level gets above 0dB, then it won't be limited back to 0dB the way analog devices do that."/>
  </panel>
  <panel id="EnvelopeDetector" caption="Envelope detector" posx="10" posy="132" sizex="500" sizey="270">
    <static caption="Attack shape" posx="12" posy="30" sizex="100" sizey="22"/>
    <comboedit id="AttackMode" posx="12" posy="54" sizex="230" sizey="24"/>
    <grapheditor id="AttackShape" caption="Custom attack shape" posx="12" posy="86" sizex="230" sizey="170"/>
    <static caption="Release shape" posx="258" posy="30" sizex="100" sizey="22"/>
    <comboedit id="ReleaseMode" posx="258" posy="54" sizex="230" sizey="24"/>
    <grapheditor id="ReleaseShape" caption="Custom release shape" posx="258" posy="86" sizex="230" sizey="170"/>
  </panel>
  <button id="okbutton" caption="OK" posx="420" posy="414" sizex="90" sizey="26"/>
</window>
)xml";
}
