-- Quane - polyphonic wavetable synthesiser
-- SPDX-License-Identifier: GPL-3.0-or-later
-- A saved test session loaded again in a new process (the plug-in restores its state from the
-- session) and exported to $OUT_FOLDER.
dofile (os.getenv ("EXPORT_SCRIPT"))
assert (AudioEngine:set_backend ("None (Dummy)", "", ""), "no dummy backend")
assert (load_session (os.getenv ("SESSION_FOLDER"), os.getenv ("SESSION_NAME")), "session not loaded")
quane_export ()
