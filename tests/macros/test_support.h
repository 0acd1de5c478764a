// The album fixture of the macro tests: an album with tracks whose macro tables are registered
// the way the cue reader registers them.
#pragma once

#include "macros/catalogue.h"
#include "macros/macrolist.h"
#include "macros/resolve.h"

#include <QString>
#include <memory>
#include <vector>

// An album's macro table and its tracks' tables: the album table registered from the catalogue
// with AddSystem; per track, the track table with AddSystem, then the priority table with
// AddPriority, then TrackNo from the cue sheet; Tracks once the tracks are closed.
class TTestAlbum {
public:
  TTestAlbum() {
    for (const TSystemMacro &m : ListSystemMacros(mlAlbum))
      Album.AddSystem(m.Name, m.Type);
  }

  TMacroList &AddTrack() {
    auto track = std::make_unique<TMacroList>();
    for (const TSystemMacro &m : ListSystemMacros(mlTrack))
      track->AddSystem(m.Name, m.Type);
    for (const auto &[name, info] : ListPriorityMacros())
      track->AddPriority(name, info.Type, info.TrackMacro, info.AlbumMacro);
    tracks_.push_back(std::move(track));
    tracks_.back()->SetNumber(QStringLiteral("TrackNo"), static_cast<int>(tracks_.size()), true);
    return *tracks_.back();
  }

  // After the last track: the album's Tracks, as the cue reader sets it.
  void CloseTracks() {
    Album.SetNumber(QStringLiteral("Tracks"), static_cast<int>(tracks_.size()), true);
  }

  TMacroList &Track(int trackNo) { return *tracks_.at(trackNo - 1); }

  // The view for album-level use (directory names).
  TMacroScope AlbumScope() const { return {&Album, nullptr}; }
  // The view for one track (file names, tags).
  TMacroScope TrackScope(int trackNo) const { return {&Album, tracks_.at(trackNo - 1).get()}; }

  TMacroList Album;

private:
  std::vector<std::unique_ptr<TMacroList>> tracks_;
};
