# Reads an MP3 file's ID3v2 tag with mutagen and prints what it found as JSON, for the tag
# writer's reader tests.
import json
import sys

import mutagen.id3
import mutagen.mp3

path = sys.argv[1]
tag = mutagen.id3.ID3(path, translate=False)
frames = []
for frame in tag.values():
    entry = {"id": frame.FrameID}
    for field in ("encoding", "desc", "lang", "url"):
        if hasattr(frame, field):
            value = getattr(frame, field)
            entry[field] = int(value) if field == "encoding" else str(value)
    if hasattr(frame, "text"):
        entry["text"] = [str(t) for t in frame.text]
    frames.append(entry)
print(json.dumps({
    "version": list(tag.version),
    "size": tag.size,
    "padding": getattr(tag, "_padding", -1),
    "frames": frames,
    "length": mutagen.mp3.MP3(path).info.length,
}, ensure_ascii=True))
