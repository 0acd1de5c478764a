// The texts of the WAV plug-in, the ones it reports to its host.
#pragma once

namespace strwav {

inline constexpr char _wav_PluginName[] = "RIFF WAVE Wave Stream";
inline constexpr char _wav_FileTypeDescription[] = "RIFF WAVE File";
inline constexpr char _wav_FileTypeExtension[] = ".wav";

} // namespace strwav
