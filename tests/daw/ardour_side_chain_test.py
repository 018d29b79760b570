#!/usr/bin/env python3
"""TandrelMini's side-chain input in Ardour 7, headless, fed by a send from a key track.

For one plug-in format it builds a session (ardour_create_side_chain_session.lua) where a loud
key track's send feeds the side-chain inputs of two TandrelMini tracks holding a quiet tone,
one with "Side-chain" on External and one on Internal, renders it with Ardour's export program
(which opens the saved session, so the routing and the plug-in's state come back from the
project) and measures what each track did to its tone. It also checks the plug-in's input pins
as Ardour describes them. The External track carries the tone
on the left only and the Internal one on the right only, so one stereo render holds both.

Usage: ardour_side_chain_test.py LXVST|VST3 PLUGIN.so BUNDLE.vst3 TANDREL-RENDER
KIV_KEEP_WORK=1 keeps the work folder.
"""
import math
import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
from ardour_support import (HERE, LUASESSION, export, fail, finish_work_folder, make_work_folder,
                            overwrite_mono_float, parameter_names, periodic_in_one_channel, recorded_files, run)

RATE = 44100
FRAMES = RATE  # one second
# A 441 Hz tone has exactly 100 samples a period at 44.1 kHz: its RMS over whole periods is
# amplitude / sqrt(2) wherever the window starts, so Ardour's alignment cannot bias the figure.
TONE_AMPLITUDE = 0.05  # -26 dB, far below the threshold
TONE_PERIOD = 100
# Measured from 0.5 s to 0.75 s: long after the attack, before the regions end.
WINDOW = (RATE // 2 - RATE // 2 % TONE_PERIOD, RATE // 2 - RATE // 2 % TONE_PERIOD + 110 * TONE_PERIOD)
KEY_AMPLITUDE = 0.5

# The compressor: Processor 1 at its default threshold (0.5, whose level is 0.5^2 = 0.25, that
# is -12.04 dB), ratio 4:1 (host value 5/21 over -1..20), no knee, and the Logarithmic mode,
# where the transfer shape is straight lines in dB. Look-ahead on (62.5 ms), so that the key
# plays through a plug-in whose latency Ardour compensates. (Ardour 7.3 hands the side-chain
# over late by that latency: the reduction starts at the key's onset instead of the look-ahead
# before it, as it does when a host aligns the key with the main input. The steady level
# measured here does not depend on it.)
THRESHOLD_DB = 20 * math.log10(0.5 ** 2)
RATIO = 4.0
SETTINGS = {"Mode": 1.0, "P1 Ratio": 5.0 / 21.0, "P1 Knee size": 0.0, "Look-ahead": 0.5}


def expected_external_gain_db():
    """A level above the threshold comes out (level - threshold) / ratio above it: the gain is
    (threshold - level) (1 - 1 / ratio) dB. Binary noise (+-A with random signs) has the power
    A^2 in every sample, so every detector (peak or RMS of any length) settles at A exactly:
    (-12.04 + 6.02) x 0.75 = -4.52 dB."""
    key_db = 20 * math.log10(KEY_AMPLITUDE)
    return (THRESHOLD_DB - key_db) * (1 - 1 / RATIO)


def tone():
    return [TONE_AMPLITUDE * math.sin(2 * math.pi * i / TONE_PERIOD) for i in range(FRAMES)]


def binary_noise(seed):
    noise = []
    for _ in range(FRAMES):
        seed = (seed * 1664525 + 1013904223) & 0xFFFFFFFF
        noise.append(KEY_AMPLITUDE if seed & 0x80000000 else -KEY_AMPLITUDE)
    return noise


def gain_db(channel):
    """Output RMS over the window against the tone's, in dB."""
    start, end = WINDOW
    rms = math.sqrt(sum(v * v for v in channel[start:end]) / (end - start))
    if rms == 0:
        return -math.inf
    return 20 * math.log10(rms / (TONE_AMPLITUDE / math.sqrt(2)))


def stray_samples(data):
    """The frames in the window where a channel leaves the sine that fits it best. A steady gain
    leaves none: in the window each channel is the tone times a constant (binary noise holds
    every detector still), so what is left after the fit is rounding, far below 1e-3."""
    start, end = WINDOW
    w = 2 * math.pi / TONE_PERIOD
    strays = []
    for c, channel in enumerate(data):
        # The window holds whole periods, so the projections are the fit's coefficients.
        a = 2 * sum(channel[i] * math.sin(w * i) for i in range(start, end)) / (end - start)
        b = 2 * sum(channel[i] * math.cos(w * i) for i in range(start, end)) / (end - start)
        strays += [(c, i) for i in range(start, end) if abs(channel[i] - a * math.sin(w * i) - b * math.cos(w * i)) > 1e-3]
    return strays


def export_glitch_in_window(data):
    """Ardour's export glitch among the stray samples, whatever their size; a stray sample of
    any other pattern is left for the gain checks to see."""
    return periodic_in_one_channel(stray_samples(data))


# The pins as Ardour sees them: VST 3 names its second input bus and marks it as a side-chain,
# so Ardour gives it a side-chain input by itself; VST 2.4 has no such mark (Ardour names
# every pin "Audio In N" and groups them in pairs), so the pair is mapped by hand.
EXPECTED_PINS = {"VST3": [(0, "Stereo In"), (0, "Stereo In"), (1, "Sidechain"), (1, "Sidechain")],
                 "LXVST": [(0, "Audio In 1 L/R"), (0, "Audio In 1 L/R"), (0, "Audio In 2 L/R"), (0, "Audio In 2 L/R")]}


def check_pins(kind, output):
    pins = [(int(line.split(" ", 3)[2]), line.split(" ", 3)[3]) for line in output.splitlines()
            if line.startswith("pin ")]
    outputs = [line for line in output.splitlines() if line.startswith("outputs ")]
    if pins != EXPECTED_PINS[kind] or outputs != ["outputs 2"]:
        fail("Ardour sees the pins %s and %s, expected %s and two outputs" % (pins, outputs, EXPECTED_PINS[kind]))
    print("%s: pins as Ardour sees them: %s" % (kind, pins))


def main():
    kind, plugin, bundle, render = sys.argv[1:5]
    work, env = make_work_folder(plugin, bundle)
    try:
        index = {name: i for i, name in parameter_names(render, plugin, env).items()}
        values = ",".join("%d=%r" % (index[name], value) for name, value in SETTINGS.items())
        session = os.path.join(work, "session")
        lua_env = dict(env, KIV_LUA_DIR=HERE, KIV_SESSION_DIR=session, KIV_PLUGIN_TYPE=kind, KIV_FRAMES=str(FRAMES),
                       KIV_RATE=str(RATE), KIV_PARAMETERS=values, KIV_SIDE_CHAIN=str(index["Side-chain"]))
        created = run([LUASESSION, os.path.join(HERE, "ardour_create_side_chain_session.lua")], lua_env, 90,
                      "creating the session")
        if os.environ.get("KIV_KEEP_WORK"):
            print(created)
        check_pins(kind, created)

        silence = [0.0] * FRAMES
        signals = {("External", "L"): tone(), ("External", "R"): silence,
                   ("Internal", "L"): silence, ("Internal", "R"): tone(),
                   ("Key", "L"): binary_noise(1), ("Key", "R"): binary_noise(2)}
        audio, recorded = recorded_files(session)
        filled = 0
        for name in recorded:
            for (track, side), samples in signals.items():
                if track + "-" in name and "%" + side in name:
                    overwrite_mono_float(os.path.join(audio, name), samples)
                    filled += 1
        if filled != len(signals) or len(recorded) != len(signals):
            fail("unexpected recorded files: %s" % recorded)

        rendered = export(session, env, os.path.join(work, "ardour.wav"), FRAMES, RATE, export_glitch_in_window)
        external, internal = gain_db(rendered[0]), gain_db(rendered[1])
        expected = expected_external_gain_db()
        print("%s: External %.4f dB (%.4f expected), Internal %.4f dB (0 expected)" % (kind, external, expected, internal))
        # A key that did not arrive leaves External at 0 dB; a key that reached the master or
        # the Internal track's detector moves the Internal figure far from 0.
        if abs(external - expected) > 0.02:
            fail("External: the tone changed by %.4f dB, %.4f dB expected" % (external, expected))
        if abs(internal) > 0.01:
            fail("Internal: the tone changed by %.4f dB, 0 expected" % internal)
    finally:
        finish_work_folder(work)


if __name__ == "__main__":
    main()
