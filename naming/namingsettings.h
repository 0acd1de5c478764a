// Reading the settings that naming and tag building use, each group in one take of the
// settings read lock, into the parameter structs the naming functions take. The engine calls
// these; tests fill the structs directly.
#pragma once

#include "naming/buildid3tag.h"
#include "naming/filename.h"
#include "naming/globaltaglist.h"
#include "naming/outputdir.h"

class TSettings;

TDirNameSettings ReadDirNameSettings(TSettings &settings);
TFileNameSettings ReadFileNameSettings(TSettings &settings);
TTagListSettings ReadTagListSettings(TSettings &settings);
TID3TagBuildSettings ReadID3TagBuildSettings(TSettings &settings);
// AddSuffixOnExistDir, for MakeOutputDir.
bool ReadAddSuffixOnExistDir(TSettings &settings);
