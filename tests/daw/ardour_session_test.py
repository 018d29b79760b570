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
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
from ardour_support import (HERE, LUASESSION, export, fail, finish_work_folder, lua_values, make_work_folder,
                            overwrite_mono_float, parameter_names, periodic_in_one_channel, read_wav, recorded_files,
                            run, write_float_wav)

BLOCK = 1024

# Host values (0..1) set in the session, by VST 2.4 parameter index: P1 threshold and ratio,
# attack and release, Processor 2 switched on with its own threshold and ratio, look-ahead.
PARAMETERS = {20: 0.6, 21: 0.35, 7: 0.4, 8: 0.5, 24: 1.0, 25: 0.3, 26: 0.2, 13: 0.5}
# Look-ahead is time = value^4 seconds: 0.5 gives 62.5 ms, which is 2756.25 samples at 44.1 kHz;
# the plug-in reports the whole samples.
LOOK_AHEAD_SECONDS = 0.5 ** 4
# Parameters from this index on are the points of the transfer shape.
FIRST_SHAPE_POINT = 29


def main():
    kind, plugin, bundle, render, signal = sys.argv[1:6]
    work, env = make_work_folder(plugin, bundle)
    try:
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
        names = parameter_names(render, plugin, env)
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
        created = run([LUASESSION, os.path.join(HERE, "ardour_create_session.lua")], lua_env, 90,
                      "creating the session")
        if os.environ.get("KIV_KEEP_WORK"):
            print(created)
        defaults = lua_values(created, "default")
        if len(defaults) != count:
            fail("the session's plug-in shows %d of %d parameters" % (len(defaults), count))
        # A fresh instance: Processor 1 on; Maximize, Gate and Processor 2 off.
        if [defaults[i] for i in (19, 5, 14, 24)] != [1.0, 0.0, 0.0, 0.0]:
            fail("unexpected switch defaults %s" % [defaults[i] for i in (19, 5, 14, 24)])

        audio, recorded = recorded_files(session)
        if len(recorded) != 2 or "%L" not in recorded[0] or "%R" not in recorded[1]:
            fail("unexpected recorded files: %s" % recorded)
        for name, samples in zip(recorded, source):
            overwrite_mono_float(os.path.join(audio, name), samples)

        # The render: Ardour compensates the plug-in's latency, tandrel-render does not.
        latency = int(LOOK_AHEAD_SECONDS * rate)
        def glitch_among_differences(data):
            """Ardour's export glitch among the samples that differ from tandrel-render's,
            however small its value."""
            return periodic_in_one_channel([(c, i) for c in range(2) for i in range(frames - latency)
                                            if abs(data[c][i] - reference[c][i + latency]) > 1e-6])

        rendered = export(session, env, os.path.join(work, "ardour.wav"), frames, rate, glitch_among_differences)
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

        reopened_output = run([LUASESSION, os.path.join(HERE, "ardour_reopen_session.lua")], lua_env, 90,
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
        finish_work_folder(work)


if __name__ == "__main__":
    main()
