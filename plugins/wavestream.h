// The wave-stream plug-in interface: the binary contract between the program and every `.kpl`
// plug-in. A plug-in is a shared library that turns files of some audio format into PCM sample
// frames (input) and, optionally, PCM sample frames into such files (output).
//
// Both sides include this one file. It needs nothing but the C standard headers: no Qt, nothing
// of the program.
//
// Conventions of every export:
// - Plain C linkage, exported under exactly the name given here, calling convention
//   WAVESTREAM_CALL (stdcall on 32-bit Windows, the platform's default elsewhere).
// - Nothing ever escapes across the boundary: no C++ exception, no abort. Every failure is the
//   return value the function documents.
// - Counts and positions are sample frames (one sample of every channel), 32-bit. A buffer of n
//   frames holds n * blockAlign bytes. Buffers belong to the caller.
// - Texts are NUL-terminated 8-bit strings, UTF-8 on Linux (the system ANSI code page on
//   Windows). A plug-in fills a text field of a record the way strncpy with the field's size
//   does and keeps every text at least one byte shorter than its field.
// - Handles are opaque and pointer-sized; they belong to the plug-in. Every function taking a
//   handle first checks that it is one of its own (not null, recognisably its record) and
//   returns its failure value otherwise.
// - Threads: the host calls discovery and every stream function under one lock per plug-in, so
//   no two of them overlap inside one plug-in; successive calls for one handle may come from
//   different threads, so a plug-in keeps no per-thread stream state. AboutDlg and ConfigDlg
//   are called from the user-interface thread without that lock.
//
// A plug-in defines WAVESTREAM_PLUGIN before including this file to get the declarations of the
// exports it implements (so the compiler checks its definitions against the contract), and
// defines each with WAVESTREAM_EXPORT, for example:
//   WAVESTREAM_EXPORT int WAVESTREAM_CALL GetFileTypeCount(void) { return 1; }
#pragma once

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define WAVESTREAM_CALL __stdcall
#else
#define WAVESTREAM_CALL
#endif

#ifdef __cplusplus
#define WAVESTREAM_EXTERN_C extern "C"
#else
#define WAVESTREAM_EXTERN_C
#endif

#if defined(_WIN32)
#define WAVESTREAM_EXPORT WAVESTREAM_EXTERN_C __declspec(dllexport)
#else
#define WAVESTREAM_EXPORT WAVESTREAM_EXTERN_C __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define WAVESTREAM_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define WAVESTREAM_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

// Capabilities flags (WaveStreamCaps.flags). Bits 0 to 29 are reserved: a plug-in sets them to
// 0 and the host masks them off.
#define WAVESTREAM_CAPS_CONFIG 0x80000000u // has a settings page: exports ConfigDlg
#define WAVESTREAM_CAPS_ABOUT 0x40000000u  // has an about page: exports AboutDlg
#define WAVESTREAM_CAPS_MASK 0xC0000000u

// File type flags (WaveStreamFileType.flags). Other bits are reserved (0), ignored by the host.
#define WAVESTREAM_TYPE_INPUT 0x1u  // files of this type can be read
#define WAVESTREAM_TYPE_OUTPUT 0x2u // files of this type can be written
#define WAVESTREAM_TYPE_MASK 0x3u

// The value of WaveStreamFormat.size in every valid record.
#define WAVESTREAM_FORMAT_SIZE 18u
// WaveStreamFormat.formatTag of integer PCM.
#define WAVESTREAM_FORMAT_PCM 1u

#pragma pack(push, 1)

// Filled by GetCaps. 70 bytes.
typedef struct WaveStreamCaps {
  char name[64];    // display name
  uint16_t version; // the plug-in's version number; stored by the host, not interpreted
  uint32_t flags;   // WAVESTREAM_CAPS_*
} WaveStreamCaps;

// Filled by GetFileTypeInfo. 76 bytes.
typedef struct WaveStreamFileType {
  char description[64]; // display text of the file type
  char extension[8];    // extension with its leading period, at most 7 characters (".wav")
  uint32_t flags;       // WAVESTREAM_TYPE_*
} WaveStreamFileType;

// The wave format record, laid out as WAVEFORMATEX, except that `size` is the size of this
// record (always 18), not a count of extra bytes. 18 bytes.
// Valid when bitsPerSample * channels == blockAlign * 8 and size == 18.
typedef struct WaveStreamFormat {
  uint16_t formatTag;      // as in a WAV format chunk; 1 for integer PCM
  uint16_t channels;       // number of channels
  uint32_t samplesPerSec;  // sample rate in Hz
  uint32_t avgBytesPerSec; // samplesPerSec * blockAlign
  uint16_t blockAlign;     // bytes per sample frame
  uint16_t bitsPerSample;  // bits of one sample of one channel
  uint16_t size;           // WAVESTREAM_FORMAT_SIZE
} WaveStreamFormat;

#pragma pack(pop)

WAVESTREAM_STATIC_ASSERT(sizeof(WaveStreamCaps) == 70, "WaveStreamCaps must be 70 bytes");
WAVESTREAM_STATIC_ASSERT(sizeof(WaveStreamFileType) == 76, "WaveStreamFileType must be 76 bytes");
WAVESTREAM_STATIC_ASSERT(sizeof(WaveStreamFormat) == 18, "WaveStreamFormat must be 18 bytes");

// A stream opened by OpenStream (read handle) or CreateStream (write handle); valid until
// CloseStream. Null means failure.
typedef void *WaveStreamHandle;

// A parent window for AboutDlg and ConfigDlg: the native window id of the host's dialog
// (QWidget::winId() on Linux, an HWND on Windows), or null.
typedef void *WaveStreamWindow;

// Optional entry point that stands in for the DLL entry point of Windows. When a plug-in exports
// it, the loader calls it with WAVESTREAM_PROCESS_ATTACH right after loading the library; a
// result of 0 refuses the load (use it when something the plug-in needs is missing), and the
// loader then calls it once with WAVESTREAM_PROCESS_DETACH and unloads the library. After a
// successful attach it is called with WAVESTREAM_PROCESS_DETACH just before the library is
// unloaded. The result of a detach call is ignored.
#define WAVESTREAM_ENTRY_POINT_NAME "DllProcessEntry"
#define WAVESTREAM_PROCESS_DETACH 0
#define WAVESTREAM_PROCESS_ATTACH 1
typedef int(WAVESTREAM_CALL *WaveStreamEntryPointFn)(int reason);

// The exports, as function pointer types (the host resolves them by name) and, for plug-ins,
// as declarations.
//
// Discovery. Every plug-in exports GetCaps, GetFileTypeCount and GetFileTypeInfo.
//   GetCaps(caps): fills the capabilities record; a null pointer is ignored.
//   GetFileTypeCount(): the number of file type records.
//   GetFileTypeInfo(index, type): fills record `index`; returns 1, or 0 (record untouched) when
//     type is null or index is negative or not below GetFileTypeCount().
//
// Streams. Required: OpenStream, Seek, Read when a file type declares input; CreateStream, Write
// when one declares output; CloseStream, GetWaveFormat, GetSampleCount, GetPosition always.
//   OpenStream(fileName, format): opens an existing file for reading at frame 0 and, when format
//     is not null, fills it (size 18). Null: fileName null or empty, file missing, or the file
//     cannot be decoded.
//   Seek(h, position): moves to a frame from 0 to the total minus 1 and returns it; -1 (position
//     unchanged) for an invalid handle or a position not below the total.
//   Read(h, buffer, frames): decodes up to `frames` frames at the current position into buffer
//     (at least frames * blockAlign bytes) and advances by the number delivered, which it
//     returns. 0 at or past the end, or when frames <= 0. -1: invalid handle (or a write
//     handle), null buffer, or a decoding error. Fewer than requested is not an error in itself.
//   CreateStream(fileName, format, overwrite): creates a file for frames in the given format.
//     Null, creating nothing, when fileName or format is null, format->size is not 18,
//     bitsPerSample * channels != blockAlign * 8, or overwrite is 0 and the file exists.
//   Write(h, buffer, frames): encodes frames * blockAlign bytes; returns frames, or -1 for an
//     invalid handle, a read handle, a null buffer with frames > 0, negative frames, or an
//     encoding error.
//   CloseStream(h): completes the file of a write handle (headers, trailing data; a failure
//     there is not reported separately), then frees the handle. Nonzero when released, 0 for an
//     invalid handle. Afterwards the handle is invalid.
//   GetWaveFormat(h, format): copies the stream's format record; 1, or 0 for an invalid handle
//     or a null pointer.
//   GetSampleCount(h): total frames of the stream (frames written so far for a write handle);
//     -1 for an invalid handle.
//   GetPosition(h): the current frame position; -1 for an invalid handle.
//
// Pages (only with the matching capabilities bit; called without the lock).
//   AboutDlg(parent), ConfigDlg(parent): show the modal about or settings page and return when
//     it closes. Settings changed there take effect for streams created afterwards.
typedef void(WAVESTREAM_CALL *WaveStreamGetCapsFn)(WaveStreamCaps *caps);
typedef int(WAVESTREAM_CALL *WaveStreamGetFileTypeCountFn)(void);
typedef int(WAVESTREAM_CALL *WaveStreamGetFileTypeInfoFn)(int index, WaveStreamFileType *type);
typedef WaveStreamHandle(WAVESTREAM_CALL *WaveStreamOpenStreamFn)(const char *fileName,
                                                                  WaveStreamFormat *format);
typedef int(WAVESTREAM_CALL *WaveStreamSeekFn)(WaveStreamHandle h, uint32_t position);
typedef int(WAVESTREAM_CALL *WaveStreamReadFn)(WaveStreamHandle h, void *buffer, int frames);
typedef WaveStreamHandle(WAVESTREAM_CALL *WaveStreamCreateStreamFn)(const char *fileName,
                                                                    const WaveStreamFormat *format,
                                                                    int overwrite);
typedef int(WAVESTREAM_CALL *WaveStreamWriteFn)(WaveStreamHandle h, const void *buffer, int frames);
typedef int(WAVESTREAM_CALL *WaveStreamCloseStreamFn)(WaveStreamHandle h);
typedef int(WAVESTREAM_CALL *WaveStreamGetWaveFormatFn)(WaveStreamHandle h,
                                                        WaveStreamFormat *format);
typedef int(WAVESTREAM_CALL *WaveStreamGetSampleCountFn)(WaveStreamHandle h);
typedef int(WAVESTREAM_CALL *WaveStreamGetPositionFn)(WaveStreamHandle h);
typedef void(WAVESTREAM_CALL *WaveStreamAboutDlgFn)(WaveStreamWindow parent);
typedef void(WAVESTREAM_CALL *WaveStreamConfigDlgFn)(WaveStreamWindow parent);

#ifdef WAVESTREAM_PLUGIN
WAVESTREAM_EXPORT void WAVESTREAM_CALL GetCaps(WaveStreamCaps *caps);
WAVESTREAM_EXPORT int WAVESTREAM_CALL GetFileTypeCount(void);
WAVESTREAM_EXPORT int WAVESTREAM_CALL GetFileTypeInfo(int index, WaveStreamFileType *type);
WAVESTREAM_EXPORT WaveStreamHandle WAVESTREAM_CALL OpenStream(const char *fileName,
                                                              WaveStreamFormat *format);
WAVESTREAM_EXPORT int WAVESTREAM_CALL Seek(WaveStreamHandle h, uint32_t position);
WAVESTREAM_EXPORT int WAVESTREAM_CALL Read(WaveStreamHandle h, void *buffer, int frames);
WAVESTREAM_EXPORT WaveStreamHandle WAVESTREAM_CALL CreateStream(const char *fileName,
                                                                const WaveStreamFormat *format,
                                                                int overwrite);
WAVESTREAM_EXPORT int WAVESTREAM_CALL Write(WaveStreamHandle h, const void *buffer, int frames);
WAVESTREAM_EXPORT int WAVESTREAM_CALL CloseStream(WaveStreamHandle h);
WAVESTREAM_EXPORT int WAVESTREAM_CALL GetWaveFormat(WaveStreamHandle h, WaveStreamFormat *format);
WAVESTREAM_EXPORT int WAVESTREAM_CALL GetSampleCount(WaveStreamHandle h);
WAVESTREAM_EXPORT int WAVESTREAM_CALL GetPosition(WaveStreamHandle h);
WAVESTREAM_EXPORT void WAVESTREAM_CALL AboutDlg(WaveStreamWindow parent);
WAVESTREAM_EXPORT void WAVESTREAM_CALL ConfigDlg(WaveStreamWindow parent);
WAVESTREAM_EXPORT int WAVESTREAM_CALL DllProcessEntry(int reason);
#endif
