-- Quane - polyphonic wavetable synthesiser
-- SPDX-License-Identifier: GPL-3.0-or-later
-- A MIDI processor for Ardour that plays a fixed phrase at fixed session samples (48 kHz), so
-- every export of a test session hears the same notes at the same frames.
ardour { ["type"] = "dsp", name = "Quane Test Phrase", category = "Utility", license = "GPL-3.0-or-later",
	author = "Brelloux", description = [[A fixed phrase of notes for the plug-in tests]] }

function dsp_ioconfig ()
	return { { midi_in = 1, midi_out = 1, audio_in = 0, audio_out = 0 } }
end

-- sample, status, note, velocity: a chord and a fourth note, released after a second
local phrase = {
	{ 4800, 0x90, 60, 100 }, { 4800, 0x90, 64, 90 }, { 6000, 0x90, 67, 80 }, { 24000, 0x90, 72, 127 },
	{ 52800, 0x80, 60, 0 }, { 52800, 0x80, 64, 0 }, { 52800, 0x80, 67, 0 }, { 52800, 0x80, 72, 0 },
}

function dsp_run (_, _, n_samples)
	local start = Session:transport_sample ()
	local count = 1
	if Session:transport_rolling () then
		for _, e in ipairs (phrase) do
			if e[1] >= start and e[1] < start + n_samples then
				midiout[count] = { time = e[1] - start + 1, data = { e[2], e[3], e[4] } }
				count = count + 1
			end
		end
	end
end
