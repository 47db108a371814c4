-- Quane - polyphonic wavetable synthesiser
-- SPDX-License-Identifier: GPL-3.0-or-later
-- The test sessions' export: 2 s of the master bus at the session rate, 32-bit float, into $OUT_FOLDER.
function quane_export ()
	local export = Session:simple_export ()
	export:set_folder (os.getenv ("OUT_FOLDER"))
	export:set_name ("quane")
	export:set_range (0, 96000)
	assert (export:set_preset ("5a1e0b52-7f7e-4c1d-9a66-0d2c9b1f0a11"), "the float export preset is missing")
	assert (export:run_export (), "the export failed")
end
