// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The shared host-side pieces (module loading, the instance, presets, names, errors) as
// quane-render names them.
#pragma once

#include "tools/vsthost/FileWriting.h"
#include "tools/vsthost/HostedEffect.h"
#include "tools/vsthost/PatchSelection.h"
#include "tools/vsthost/PresetTransfer.h"
#include "tools/vsthost/ToolError.h"

namespace quane::render
{
using vsthost::checkWritable;
using vsthost::createEmptyFile;
using vsthost::fail;
using vsthost::findParameter;
using vsthost::findProgram;
using vsthost::HostedEffect;
using vsthost::LoadedModule;
using vsthost::loadPreset;
using vsthost::programFileStem;
using vsthost::savePreset;
using vsthost::ToolError;
using vsthost::writeBytes;
} // namespace quane::render
