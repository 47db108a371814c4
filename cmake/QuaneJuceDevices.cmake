# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# JUCE's audio and MIDI device modules and its audio widgets, for the stand-alone player only.
# A library of their own on top of quane_juce, so the module Kolv never links ALSA, JACK or them.

quane_require_pkg(QUANE_ALSA alsa libasound2-dev)
# Only the headers: JUCE opens libjack at run time, so the player runs where JACK is absent.
quane_require_pkg(QUANE_JACK jack libjack-jackd2-dev)

# juce_audio_utils needs juce_audio_processors, which needs juce_gui_extra.
set(QUANE_JUCE_DEVICE_MODULES juce_gui_extra juce_audio_processors juce_audio_devices juce_audio_utils)

add_library(quane_juce_devices STATIC)
foreach(module IN LISTS QUANE_JUCE_DEVICE_MODULES)
    # The module's own sources only: its dependencies are already compiled into quane_juce.
    get_target_property(sources juce::${module} INTERFACE_SOURCES)
    target_sources(quane_juce_devices PRIVATE ${sources})
    target_compile_definitions(quane_juce_devices PUBLIC JUCE_MODULE_AVAILABLE_${module}=1)
endforeach()
target_compile_definitions(quane_juce_devices PUBLIC
    JUCE_ALSA=1
    JUCE_JACK=1
    JUCE_JACK_CLIENT_NAME="quane-play"
    JUCE_PLUGINHOST_VST=0
    JUCE_PLUGINHOST_VST3=0
    JUCE_PLUGINHOST_AU=0
    JUCE_PLUGINHOST_LADSPA=0
    JUCE_PLUGINHOST_LV2=0
    JUCE_PLUGINHOST_ARA=0)
target_include_directories(quane_juce_devices SYSTEM PRIVATE ${QUANE_JACK_INCLUDE_DIRS})
target_link_libraries(quane_juce_devices PUBLIC quane_juce PkgConfig::QUANE_ALSA ${CMAKE_DL_LIBS})
