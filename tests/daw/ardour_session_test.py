#!/usr/bin/env python3
"""TandrelMini in a real DAW: Ardour 7, headless through its Lua session program.

For one plug-in format (VST 2.4 or VST 3) it creates a session with the plug-in on a stereo
track and a few parameters set, puts the bundled programme signal into the track, renders the
session with Ardour's export program (which opens the saved session in a process of its own)
and compares the result with tandrel-render's for the same parameter values. A second Lua
process reopens the session: the parameter values and the compensated latency must be the
ones set, and Ardour's "reset to defaults" must give the values of a fresh instance.

Usage: ardour_session_test.py LXVST|VST3 PLUGIN.so BUNDLE.vst3 TANDREL-RENDER INPUT.wav
KIV_KEEP_WORK=1 keeps the work folder (session, renders) and prints what the Lua scripts
printed.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ARDOUR_LIB = "/usr/lib/ardour7"
EXPORT = ARDOUR_LIB + "/utils/ardour7-export"
BLOCK = 1024

# Host values (0..1) set in the session, by VST 2.4 parameter index: P1 threshold and ratio,
# attack and release, Processor 2 switched on with its own threshold and ratio, look-ahead.
PARAMETERS = {20: 0.6, 21: 0.35, 7: 0.4, 8: 0.5, 24: 1.0, 25: 0.3, 26: 0.2, 13: 0.5}
# Look-ahead is time = value^4 seconds: 0.5 gives 62.5 ms, which is 2756.25 samples at 44.1 kHz;
# the plug-in reports the whole samples.
LOOK_AHEAD_SECONDS = 0.5 ** 4
# Parameters from this index on are the points of the transfer shape.
FIRST_SHAPE_POINT = 29


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)


def read_wav(path):
    """(channels, rate, frames as lists per channel, data offset, bytes per sample, format)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        fail(path + " is not a WAV file")
    pos = 12
    fmt = None
    while pos + 8 <= len(data):
        chunk, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        body = pos + 8
        if chunk == b"fmt ":
            code, channels, rate = struct.unpack("<HHI", data[body:body + 8])
            bits = struct.unpack("<H", data[body + 14:body + 16])[0]
            if code == 0xFFFE:
                code = struct.unpack("<H", data[body + 24:body + 26])[0]
            fmt = (code, channels, rate, bits)
        elif chunk == b"data":
            code, channels, rate, bits = fmt
            width = bits // 8
            count = min(size, len(data) - body) // (width * channels)
            if code == 3 and bits == 32:
                values = struct.unpack("<%df" % (count * channels), data[body:body + count * channels * 4])
            elif code == 1 and bits == 16:
                values = [v / 32768.0 for v in struct.unpack("<%dh" % (count * channels), data[body:body + count * channels * 2])]
            else:
                fail("%s: unexpected sample format %d/%d" % (path, code, bits))
            return channels, rate, [list(values[c::channels]) for c in range(channels)], body, width, code
        pos = body + size + (size & 1)
    fail(path + " has no data")


def overwrite_mono_float(path, samples):
    """Puts `samples` (padded with zeros) into the data of an existing mono float WAV file."""
    channels, _, old, body, width, code = read_wav(path)
    if channels != 1 or width != 4 or code != 3:
        fail(path + ": the recorded file is not mono 32-bit float")
    frames = len(old[0])
    if frames < len(samples):
        fail("%s: recorded %d frames, the input needs %d" % (path, frames, len(samples)))
    padded = list(samples) + [0.0] * (frames - len(samples))
    with open(path, "r+b") as f:
        f.seek(body)
        f.write(struct.pack("<%df" % frames, *padded))


def write_float_wav(path, channels, rate):
    frames = len(channels[0])
    interleaved = [channel[i] for i in range(frames) for channel in channels]
    data = struct.pack("<%df" % len(interleaved), *interleaved)
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, 3, len(channels), rate,
                         rate * 4 * len(channels), 4 * len(channels), 32, b"data", len(data))
    with open(path, "wb") as f:
        f.write(header + data)


def environment(work):
    env = dict(os.environ)
    env.update(LD_LIBRARY_PATH=ARDOUR_LIB, ARDOUR_DATA_PATH="/usr/share/ardour7", ARDOUR_CONFIG_PATH="/etc/ardour7",
               ARDOUR_DLL_PATH=ARDOUR_LIB, XDG_CACHE_HOME=os.path.join(work, "cache"),
               XDG_CONFIG_HOME=os.path.join(work, "config"), HOME=work)
    # Both formats are found: the VST 2.4 one gives the values to expect (see the Lua script).
    env["LXVST_PATH"] = os.path.join(work, "vst")
    env["VST3_PATH"] = os.path.join(work, "vst3")
    return env


def run(command, env, timeout, what):
    try:
        result = subprocess.run(command, env=env, timeout=timeout, capture_output=True, text=True, errors="replace")
    except subprocess.TimeoutExpired:
        fail(what + " timed out")
    if result.returncode != 0:
        print(result.stdout[-4000:], result.stderr[-4000:])
        fail("%s exited with %d" % (what, result.returncode))
    return result.stdout


def lua_values(output, tag):
    values = {}
    for line in output.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[0] == tag:
            values[int(parts[1])] = float(parts[2])
    return values


def export(session, env, out, frames, rate):
    """Ardour's export program; in Ardour 7.3 it sometimes deadlocks or aborts at exit after
    writing the file (an Ardour fault): each attempt runs under a timeout, up to three, and a
    file of the session's length is accepted. A render takes about 5 s; the limit leaves room
    for a machine busy with other work, where 15 s sometimes cut a healthy render short."""
    limit = 30 + frames / rate
    for attempt in range(1, 4):
        if os.path.exists(out):
            os.remove(out)
        try:
            subprocess.run([EXPORT, "-b", "float", "-o", out, session, "tandrel"], env=env, timeout=limit,
                           capture_output=True)
        except subprocess.TimeoutExpired:
            pass
        if os.path.exists(out):
            channels, _, data, _, _, _ = read_wav(out)
            if channels == 2 and len(data[0]) >= frames:
                return data
        print("export attempt %d gave no complete file" % attempt)
    fail("Ardour's export gave no complete file in three attempts")


def main():
    kind, plugin, bundle, render, signal = sys.argv[1:6]
    work = tempfile.mkdtemp(prefix="kiv-ardour-")
    try:
        # Copies keep their times: Ardour ignores a scan of a file changed in the same second.
        os.makedirs(os.path.join(work, "vst"))
        os.makedirs(os.path.join(work, "vst3"))
        shutil.copy2(plugin, os.path.join(work, "vst", "TandrelMini.so"))
        shutil.copytree(bundle, os.path.join(work, "vst3", "TandrelMini.vst3"))
        env = environment(work)
        run([ARDOUR_LIB + "/ardour-vst-scanner", "-f", os.path.join(work, "vst", "TandrelMini.so")], env, 60,
            "Ardour's VST 2.4 scanner")
        run([ARDOUR_LIB + "/ardour-vst3-scanner", "-f", os.path.join(work, "vst3", "TandrelMini.vst3")], env, 60,
            "Ardour's VST 3 scanner")

        channels, rate, programme, _, _, _ = read_wav(signal)
        if channels != 2:
            fail("the input must be stereo")
        # Ardour's render starts the track's playback ahead by the plug-in's latency, so a
        # latent plug-in never sees the first samples of the session (and, measured, 256 more):
        # the input starts with a quarter second of silence, which both renders process alike.
        source = [[0.0] * (rate // 4) + channel for channel in programme]
        frames = len(source[0])
        signal = os.path.join(work, "input.wav")
        write_float_wav(signal, source, rate)

        # The reference: tandrel-render, same values, Ardour's block size.
        listing = run([render, plugin, "--list-parameters"], env, 60, "tandrel-render --list-parameters").splitlines()
        header = listing[0]
        name_start, display_start = header.index("name"), header.index("display")
        names = {int(line[:name_start].strip()): line[name_start:display_start].strip() for line in listing[1:] if line[:1].isdigit()}
        count = len(names)
        reference_path = os.path.join(work, "reference.wav")
        command = [render, plugin, signal, reference_path, "--block", str(BLOCK)]
        for index, value in PARAMETERS.items():
            command += ["--set-normalized", "%s=%r" % (names[index], value)]
        run(command, env, 120, "tandrel-render")
        _, _, reference, _, _, _ = read_wav(reference_path)

        session = os.path.join(work, "session")
        lua_env = dict(env, KIV_LUA_DIR=HERE, KIV_SESSION_DIR=session, KIV_PLUGIN_TYPE=kind, KIV_FRAMES=str(frames), KIV_RATE=str(rate),
                       KIV_PARAMETER_COUNT=str(count),
                       KIV_PARAMETERS=",".join("%d=%r" % item for item in PARAMETERS.items()))
        created = run([ARDOUR_LIB + "/luasession", os.path.join(HERE, "ardour_create_session.lua")], lua_env, 90,
                      "creating the session")
        if os.environ.get("KIV_KEEP_WORK"):
            print(created)
        defaults = lua_values(created, "default")
        if len(defaults) != count:
            fail("the session's plug-in shows %d of %d parameters" % (len(defaults), count))
        # A fresh instance: Processor 1 on; Maximize, Gate and Processor 2 off.
        if [defaults[i] for i in (19, 5, 14, 24)] != [1.0, 0.0, 0.0, 0.0]:
            fail("unexpected switch defaults %s" % [defaults[i] for i in (19, 5, 14, 24)])

        audio = os.path.join(session, "interchange", "session", "audiofiles")
        recorded = sorted(f for f in os.listdir(audio) if f.endswith(".wav"))
        if len(recorded) != 2 or "%L" not in recorded[0] or "%R" not in recorded[1]:
            fail("unexpected recorded files: %s" % recorded)
        for name, samples in zip(recorded, source):
            overwrite_mono_float(os.path.join(audio, name), samples)

        # The render: Ardour compensates the plug-in's latency, tandrel-render does not.
        latency = int(LOOK_AHEAD_SECONDS * rate)
        rendered = export(session, env, os.path.join(work, "ardour.wav"), frames, rate)
        worst = 0.0
        for channel in range(2):
            for i in range(frames - latency):
                worst = max(worst, abs(rendered[channel][i] - reference[channel][i + latency]))
        print("%s: largest difference to tandrel-render %.3g over %d frames" % (kind, worst, frames - latency))
        if worst > 1e-6:
            # Where and how it differs, to tell a broken render (wild or non-finite samples on
            # one side) from a difference in processing.
            first = next(i for i in range(frames - latency)
                         if any(abs(rendered[c][i] - reference[c][i + latency]) > 1e-6 for c in range(2)))
            wild = [sum(1 for v in data[c] if not abs(v) < 1e3) for data in (rendered, reference) for c in range(2)]
            fail("Ardour's render differs from tandrel-render's by %g, first at frame %d (Ardour %r, tandrel-render %r); "
                 "samples beyond 1000 or not finite per channel: Ardour %s, tandrel-render %s"
                 % (worst, first, [rendered[c][first] for c in range(2)], [reference[c][first + latency] for c in range(2)],
                    wild[:2], wild[2:]))
        # A render that compresses: the check above must not pass on two silent files.
        peak = max(abs(v) for v in reference[0])
        if peak < 0.05:
            fail("the reference render is nearly silent")

        reopened_output = run([ARDOUR_LIB + "/luasession", os.path.join(HERE, "ardour_reopen_session.lua")], lua_env, 90,
                              "reopening the session")
        if os.environ.get("KIV_KEEP_WORK"):
            print(reopened_output)
        reopened = lua_values(reopened_output, "reopened")
        reset = lua_values(reopened_output, "reset")
        expected = lua_values(created, "expected")
        configured = lua_values(created, "configured")
        for index, value in PARAMETERS.items():
            if abs(configured.get(index, -1) - value) > 1e-6 or abs(expected.get(index, -1) - value) > 1e-6:
                fail("parameter %d reads %s after setting %r" % (index, configured.get(index), value))
        # The shape points follow threshold and ratio inside the plug-in; a host learns their new
        # values only when the plug-in tells it, so the probe's copies may be stale. They are
        # covered by the render, which runs the reopened session.
        changed = ["%d: %s instead of %r" % (i, reopened.get(i), expected[i]) for i in range(FIRST_SHAPE_POINT)
                   if abs(reopened.get(i, -1) - expected[i]) > 1e-6]
        if changed:
            fail("parameters after reopening: " + "; ".join(changed))
        latencies = [line.split() for line in reopened_output.splitlines() if line.startswith("latency ")]
        if not latencies or int(latencies[0][1]) != latency or int(latencies[0][2]) != latency:
            fail("latency after reopening: %s, %d expected" % (latencies, latency))

        wrong = ["%d: %s instead of %r" % (i, reset.get(i), defaults[i]) for i in range(count)
                 if abs(reset.get(i, -1) - defaults[i]) > 1e-6]
        if wrong:
            fail("reset to defaults: " + "; ".join(wrong))
        print("%s: render, reopening (parameters, latency %d) and reset as expected" % (kind, latency))
    finally:
        if os.environ.get("KIV_KEEP_WORK"):
            print("work folder kept: " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
