-- Quane - polyphonic wavetable synthesiser
-- SPDX-License-Identifier: GPL-3.0-or-later
-- A new session on the dummy backend with one MIDI track playing Quane ($PLUGIN_KIND: LV2 or VST3)
-- from the test phrase, the factory program $PRESET applied through Ardour's preset list (none
-- for the plug-in's own default), exported to $OUT_FOLDER and saved.
dofile (os.getenv ("EXPORT_SCRIPT"))
local kind, preset = os.getenv ("PLUGIN_KIND"), os.getenv ("PRESET")
assert (AudioEngine:set_backend ("None (Dummy)", "", ""), "no dummy backend")
assert (create_session (os.getenv ("SESSION_FOLDER"), os.getenv ("SESSION_NAME"), 48000), "session not created")

local plugin_type = kind == "LV2" and ARDOUR.PluginType.LV2 or ARDOUR.PluginType.VST3
local info = ARDOUR.LuaAPI.new_plugin_info ("Quane", plugin_type)
assert (not info:isnil (), "Ardour does not list Quane as " .. kind)
local tracks = Session:new_midi_track (ARDOUR.ChanCount (ARDOUR.DataType ("midi"), 1),
	ARDOUR.ChanCount (ARDOUR.DataType ("audio"), 2), true, info, nil, nil, 1, "Quane",
	ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
local track = tracks:front ()
local quane = track:nth_plugin (0):to_insert ():plugin (0)
print (kind .. " plug-in " .. quane:name () .. " " .. quane:unique_id ())
if preset ~= "" then
	local record = quane:preset_by_label (preset)
	assert (record, "no preset " .. preset)
	assert (quane:load_preset (record), "preset " .. preset .. " not applied")
end

local phrase = ARDOUR.LuaAPI.new_luaproc (Session, "Quane Test Phrase")
assert (not phrase:isnil (), "the test phrase processor is missing")
assert (track:add_processor_by_index (phrase, 0, nil, true), "the test phrase processor was not added")

quane_export ()
Session:save_state ("", false, false, false, false, false)
