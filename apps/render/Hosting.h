// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The shared host-side pieces (module loading, the instance, presets, names, errors) as
// quane-render names them.
#pragma once

#include "hostkit/FileWriting.h"
#include "hostkit/HostedEffect.h"
#include "hostkit/ModuleOpening.h"
#include "hostkit/PatchSelection.h"
#include "hostkit/PresetTransfer.h"
#include "hostkit/ToolError.h"

namespace quane::render
{
using hostkit::checkWritable;
using hostkit::createEmptyFile;
using hostkit::fail;
using hostkit::findParameter;
using hostkit::findProgram;
using hostkit::HostedEffect;
using hostkit::LoadedModule;
using hostkit::loadPreset;
using hostkit::openEffect;
using hostkit::openModule;
using hostkit::programFileStem;
using hostkit::savePreset;
using hostkit::ToolError;
using hostkit::writeBytes;
} // namespace quane::render
