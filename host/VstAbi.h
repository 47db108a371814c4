// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST 2.x binary interface as hosts lay it out in memory: records, opcodes and flags.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quane::vst
{
using int16 = std::int16_t;
using int32 = std::int32_t;
using intptr = std::intptr_t;

struct AEffect;

using AudioMasterCallback = intptr (*) (AEffect*, int32 opcode, int32 index, intptr value, void* ptr, float opt);
using DispatcherProc = intptr (*) (AEffect*, int32 opcode, int32 index, intptr value, void* ptr, float opt);
using ProcessProc = void (*) (AEffect*, float** inputs, float** outputs, int32 sampleFrames);
using ProcessDoubleProc = void (*) (AEffect*, double** inputs, double** outputs, int32 sampleFrames);
using SetParameterProc = void (*) (AEffect*, int32 index, float value);
using GetParameterProc = float (*) (AEffect*, int32 index);

constexpr int32 kEffectMagic = 0x56737450; // "VstP"

/** The record the module hands the host; field order and types are fixed by hosts. */
struct AEffect
{
    int32 magic;
    DispatcherProc dispatcher;
    ProcessProc process;
    SetParameterProc setParameter;
    GetParameterProc getParameter;
    int32 numPrograms;
    int32 numParams;
    int32 numInputs;
    int32 numOutputs;
    int32 flags;
    intptr resvd1;
    intptr resvd2;
    int32 initialDelay;
    int32 realQualities;
    int32 offQualities;
    float ioRatio;
    void* object;
    void* user;
    int32 uniqueID;
    int32 version;
    ProcessProc processReplacing;
    ProcessDoubleProc processDoubleReplacing;
    char future[56];
};

constexpr int32 effFlagsHasEditor = 1;
constexpr int32 effFlagsHasClip = 2;
constexpr int32 effFlagsHasVu = 4;
constexpr int32 effFlagsCanMono = 8;
constexpr int32 effFlagsCanReplacing = 0x10;
constexpr int32 effFlagsProgramChunks = 0x20;
constexpr int32 effFlagsIsSynth = 0x100;
constexpr int32 effFlagsNoSoundInStop = 0x200;
constexpr int32 effFlagsCanDoubleReplacing = 0x1000;

constexpr int32 kVstMidiType = 1;
constexpr int32 kVstSysExType = 6;
constexpr int32 kVstMidiEventIsRealtime = 1;

/** Any event; the type says which layout the bytes have. */
struct VstEvent
{
    int32 type;
    int32 byteSize;
    int32 deltaFrames;
    int32 flags;
    char data[16];
};

struct VstMidiEvent
{
    int32 type;
    int32 byteSize;
    int32 deltaFrames;
    int32 flags;
    int32 noteLength;
    int32 noteOffset;
    char midiData[4];
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

/** Declared with two pointers; hosts allocate as many as numEvents needs. */
struct VstEvents
{
    int32 numEvents;
    intptr reserved;
    VstEvent* events[2];
};

struct VstTimeInfo
{
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    int32 timeSigNumerator;
    int32 timeSigDenominator;
    int32 smpteOffset;
    int32 smpteFrameRate;
    int32 samplesToNextClock;
    int32 flags;
};

constexpr int32 kVstTransportChanged = 1;
constexpr int32 kVstTransportPlaying = 2;
constexpr int32 kVstTransportCycleActive = 4;
constexpr int32 kVstTransportRecording = 8;
constexpr int32 kVstAutomationWriting = 0x40;
constexpr int32 kVstAutomationReading = 0x80;
constexpr int32 kVstNanosValid = 0x100;
constexpr int32 kVstPpqPosValid = 0x200;
constexpr int32 kVstTempoValid = 0x400;
constexpr int32 kVstBarsValid = 0x800;
constexpr int32 kVstCyclePosValid = 0x1000;
constexpr int32 kVstTimeSigValid = 0x2000;
constexpr int32 kVstSmpteValid = 0x4000;
constexpr int32 kVstClockValid = 0x8000;

struct ERect
{
    int16 top;
    int16 left;
    int16 bottom;
    int16 right;
};

constexpr int32 kPlugCategEffect = 1;
constexpr int32 kPlugCategSynth = 2;

// Requests to the host.
constexpr int32 audioMasterAutomate = 0;
constexpr int32 audioMasterVersion = 1;
constexpr int32 audioMasterIdle = 3;
constexpr int32 audioMasterWantMidi = 6;
constexpr int32 audioMasterGetTime = 7;
constexpr int32 audioMasterProcessEvents = 8;
constexpr int32 audioMasterSizeWindow = 15;
constexpr int32 audioMasterCanDo = 37;

// Requests from the host, through the dispatcher.
constexpr int32 effOpen = 0;
constexpr int32 effClose = 1;
constexpr int32 effSetProgram = 2;
constexpr int32 effGetProgram = 3;
constexpr int32 effSetProgramName = 4;
constexpr int32 effGetProgramName = 5;
constexpr int32 effGetParamLabel = 6;
constexpr int32 effGetParamDisplay = 7;
constexpr int32 effGetParamName = 8;
constexpr int32 effGetVu = 9;
constexpr int32 effSetSampleRate = 10;
constexpr int32 effSetBlockSize = 11;
constexpr int32 effMainsChanged = 12;
constexpr int32 effEditGetRect = 13;
constexpr int32 effEditOpen = 14;
constexpr int32 effEditClose = 15;
constexpr int32 effEditDraw = 16;
constexpr int32 effEditMouse = 17;
constexpr int32 effEditKey = 18;
constexpr int32 effEditIdle = 19;
constexpr int32 effEditTop = 20;
constexpr int32 effEditSleep = 21;
constexpr int32 effIdentify = 22;
constexpr int32 effGetChunk = 23;
constexpr int32 effSetChunk = 24;
constexpr int32 effProcessEvents = 25;
constexpr int32 effCanBeAutomated = 26;
constexpr int32 effString2Parameter = 27;
constexpr int32 effGetNumProgramCategories = 28;
constexpr int32 effGetProgramNameIndexed = 29;
constexpr int32 effCopyProgram = 30;
constexpr int32 effConnectInput = 31;
constexpr int32 effConnectOutput = 32;
constexpr int32 effGetInputProperties = 33;
constexpr int32 effGetOutputProperties = 34;
constexpr int32 effGetPlugCategory = 35;
constexpr int32 effGetCurrentPosition = 36;
constexpr int32 effGetDestinationBuffer = 37;
constexpr int32 effOfflineNotify = 38;
constexpr int32 effOfflinePrepare = 39;
constexpr int32 effOfflineRun = 40;
constexpr int32 effProcessVarIo = 41;
constexpr int32 effSetSpeakerArrangement = 42;
constexpr int32 effSetBlockSizeAndSampleRate = 43;
constexpr int32 effSetBypass = 44;
constexpr int32 effGetEffectName = 45;
constexpr int32 effGetErrorText = 46;
constexpr int32 effGetVendorString = 47;
constexpr int32 effGetProductString = 48;
constexpr int32 effGetVendorVersion = 49;
constexpr int32 effVendorSpecific = 50;
constexpr int32 effCanDo = 51;
constexpr int32 effGetTailSize = 52;
constexpr int32 effIdle = 53;
constexpr int32 effGetIcon = 54;
constexpr int32 effSetViewPosition = 55;
constexpr int32 effGetParameterProperties = 56;
constexpr int32 effKeysRequired = 57;
constexpr int32 effGetVstVersion = 58;
constexpr int32 effEditKeyDown = 59;
constexpr int32 effEditKeyUp = 60;
constexpr int32 effSetEditKnobMode = 61;
constexpr int32 effGetMidiProgramName = 62;
constexpr int32 effGetCurrentMidiProgram = 63;
constexpr int32 effGetMidiProgramCategory = 64;
constexpr int32 effHasMidiProgramsChanged = 65;
constexpr int32 effGetMidiKeyName = 66;
constexpr int32 effBeginSetProgram = 67;
constexpr int32 effEndSetProgram = 68;
constexpr int32 effGetSpeakerArrangement = 69;
constexpr int32 effShellGetNextPlugin = 70;
constexpr int32 effStartProcess = 71;
constexpr int32 effStopProcess = 72;
constexpr int32 effSetTotalSampleToProcess = 73;
constexpr int32 effSetPanLaw = 74;
constexpr int32 effBeginLoadBank = 75;
constexpr int32 effBeginLoadProgram = 76;

// effVendorSpecific with this index and value carries the editor's size factor as the float opt
// (1.0 = 100 %), as some hosts send it for their display's scale.
constexpr int32 editorScaleRequestIndex = 0x50726553;
constexpr intptr editorScaleRequestValue = 0x41654373;

// Hosts read these records straight out of memory; a layout slip crashes them.
static_assert (sizeof (VstEvent) == 32 && sizeof (VstMidiEvent) == 32);
static_assert (sizeof (VstTimeInfo) == 88);
static_assert (sizeof (ERect) == 8);
static_assert (sizeof (void*) == 8 || sizeof (void*) == 4, "only 32- and 64-bit targets are laid out");
static_assert (sizeof (AEffect) == (sizeof (void*) == 8 ? 192 : 144));
static_assert (offsetof (AEffect, object) == (sizeof (void*) == 8 ? 96 : 64));
static_assert (offsetof (AEffect, uniqueID) == (sizeof (void*) == 8 ? 112 : 72));
static_assert (offsetof (AEffect, processReplacing) == (sizeof (void*) == 8 ? 120 : 80));
static_assert (offsetof (VstEvents, events) == (sizeof (void*) == 8 ? 16 : 8));
static_assert (offsetof (VstMidiEvent, midiData) == 24);
} // namespace quane::vst
