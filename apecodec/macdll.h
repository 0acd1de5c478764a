// The C interface of the Monkey's Audio codec library (libMAC.so here, MACDll.dll on Windows):
// the functions a caller resolves by name, their types, the information fields it queries and
// the error codes. The project's own libMAC.so implements it on FFmpeg; the Monkey's Audio SDK's
// library offers the same functions.
//
// Sizes: `ape_intn` is pointer-sized (32 bits on 32-bit Windows, where the interface was born
// with plain ints, 64 bits on 64-bit systems), because c_APEDecompress_GetInfo carries pointers
// in its parameters. Block counts and positions use it as well, as the 64-bit builds of the
// library do.
//
// Every function returns 0 (APE_ERROR_SUCCESS) on success unless its comment says otherwise.
// A "block" is one sample frame: one sample of every channel.
#pragma once

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define MACDLL_CALL __stdcall
#else
#define MACDLL_CALL
#endif

#ifdef __cplusplus
#define MACDLL_EXTERN_C extern "C"
#else
#define MACDLL_EXTERN_C
#endif

#if defined(_WIN32)
#define MACDLL_EXPORT MACDLL_EXTERN_C __declspec(dllexport)
#else
#define MACDLL_EXPORT MACDLL_EXTERN_C __attribute__((visibility("default")))
#endif

typedef intptr_t ape_intn;
typedef void *APE_DECOMPRESS_HANDLE;
typedef void *APE_COMPRESS_HANDLE;

// The interface version this header describes (3.99): the value callers pass to
// GetInterfaceCompatibility.
#define MAC_INTERFACE_VERSION 3990

// Fields of c_APEDecompress_GetInfo.
#define APE_INFO_FILE_VERSION 1000      // the file's format version (3990 for 3.99)
#define APE_INFO_COMPRESSION_LEVEL 1001 // 1000 fast .. 5000 insane
#define APE_INFO_SAMPLE_RATE 1003
#define APE_INFO_BITS_PER_SAMPLE 1004
#define APE_INFO_BYTES_PER_SAMPLE 1005
#define APE_INFO_CHANNELS 1006
#define APE_INFO_BLOCK_ALIGN 1007
#define APE_INFO_TOTAL_BLOCKS 1016
#define APE_INFO_WAVEFORMATEX 1026 // param 1: an 18-byte format record to fill; result 0
#define APE_DECOMPRESS_CURRENT_BLOCK 2000
#define APE_DECOMPRESS_TOTAL_BLOCKS 2002 // the stream's total number of blocks

// Compression levels of c_APECompress_Start.
#define MAC_COMPRESSION_LEVEL_FAST 1000
#define MAC_COMPRESSION_LEVEL_NORMAL 2000
#define MAC_COMPRESSION_LEVEL_HIGH 3000
#define MAC_COMPRESSION_LEVEL_EXTRA_HIGH 4000
#define MAC_COMPRESSION_LEVEL_INSANE 5000

// Error codes.
#define APE_ERROR_SUCCESS 0
#define APE_ERROR_IO_READ 1000
#define APE_ERROR_IO_WRITE 1001
#define APE_ERROR_INVALID_INPUT_FILE 1002
#define APE_ERROR_INPUT_FILE_UNSUPPORTED_BIT_DEPTH 1005
#define APE_ERROR_INPUT_FILE_UNSUPPORTED_CHANNEL_COUNT 1007
#define APE_ERROR_DECOMPRESSING_FRAME 1010
#define APE_ERROR_INVALID_FUNCTION_PARAMETER 1012
#define APE_ERROR_UNSUPPORTED_FILE_TYPE 1013
#define APE_ERROR_UNSUPPORTED_FILE_VERSION 1014
#define APE_ERROR_INSUFFICIENT_MEMORY 2000
#define APE_ERROR_BAD_PARAMETER 5000
#define APE_ERROR_UNDEFINED (-1)

#pragma pack(push, 1)
// The format record, laid out as WAVEFORMATEX: 18 bytes. The library sets `extraSize` to 0.
typedef struct APE_WAVEFORMATEX {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
  uint16_t extraSize;
} APE_WAVEFORMATEX;
#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(APE_WAVEFORMATEX) == 18, "APE_WAVEFORMATEX must be 18 bytes");
#endif

// Function types, in the order the plug-in resolves them.

// 0 when the library serves callers written for interface `version`; `displayWarnings` asks the
// library to tell the user itself when it does not, `parent` is the window to do it over.
typedef int(MACDLL_CALL *proc_GetInterfaceCompatibility)(int version, int displayWarnings,
                                                         void *parent);
// The library's version as an integer: 3990 reads as 3.990.
typedef int(MACDLL_CALL *proc_GetVersionNumber)(void);

// A decoder for an existing file, or null; *errorCode (may be null) gets the reason.
typedef APE_DECOMPRESS_HANDLE(MACDLL_CALL *proc_APEDecompress_Create)(const char *fileName,
                                                                      int *errorCode);
typedef void(MACDLL_CALL *proc_APEDecompress_Destroy)(APE_DECOMPRESS_HANDLE handle);
// Decodes up to `blocks` blocks, interleaved, in the file's own bit depth, into `buffer` (at
// least blocks * block align bytes); *retrieved gets the count delivered, 0 at the end.
typedef int(MACDLL_CALL *proc_APEDecompress_GetData)(APE_DECOMPRESS_HANDLE handle, char *buffer,
                                                     ape_intn blocks, ape_intn *retrieved);
// Moves to block `block` (0 to total - 1).
typedef int(MACDLL_CALL *proc_APEDecompress_Seek)(APE_DECOMPRESS_HANDLE handle, ape_intn block);
// One information field (APE_INFO_*, APE_DECOMPRESS_*); the result is the field's value.
typedef ape_intn(MACDLL_CALL *proc_APEDecompress_GetInfo)(APE_DECOMPRESS_HANDLE handle, int field,
                                                          ape_intn param1, ape_intn param2);

// An encoder, or null; *errorCode (may be null) gets the reason.
typedef APE_COMPRESS_HANDLE(MACDLL_CALL *proc_APECompress_Create)(int *errorCode);
typedef void(MACDLL_CALL *proc_APECompress_Destroy)(APE_COMPRESS_HANDLE handle);
// Creates `fileName` for audio in `format`. maxAudioBytes -1: size unknown; headerBytes -1: the
// library writes the WAV header itself.
typedef int(MACDLL_CALL *proc_APECompress_Start)(APE_COMPRESS_HANDLE handle, const char *fileName,
                                                 const APE_WAVEFORMATEX *format,
                                                 ape_intn maxAudioBytes, int compressionLevel,
                                                 const void *headerData, ape_intn headerBytes);
typedef int(MACDLL_CALL *proc_APECompress_AddData)(APE_COMPRESS_HANDLE handle, unsigned char *data,
                                                   int bytes);
// Completes the file (trailing data may be null with 0 bytes).
typedef int(MACDLL_CALL *proc_APECompress_Finish)(APE_COMPRESS_HANDLE handle,
                                                  unsigned char *terminatingData,
                                                  ape_intn terminatingBytes,
                                                  ape_intn wavTerminatingBytes);

// The library file the plug-in loads, and the exported names.
#if defined(_WIN32)
#define MACDLL_FILE_NAME "MACDll.dll"
#else
#define MACDLL_FILE_NAME "libMAC.so"
#endif

#ifdef MACDLL_LIBRARY
MACDLL_EXPORT int MACDLL_CALL GetInterfaceCompatibility(int version, int displayWarnings,
                                                        void *parent);
MACDLL_EXPORT int MACDLL_CALL GetVersionNumber(void);
MACDLL_EXPORT APE_DECOMPRESS_HANDLE MACDLL_CALL c_APEDecompress_Create(const char *fileName,
                                                                       int *errorCode);
MACDLL_EXPORT void MACDLL_CALL c_APEDecompress_Destroy(APE_DECOMPRESS_HANDLE handle);
MACDLL_EXPORT int MACDLL_CALL c_APEDecompress_GetData(APE_DECOMPRESS_HANDLE handle, char *buffer,
                                                      ape_intn blocks, ape_intn *retrieved);
MACDLL_EXPORT int MACDLL_CALL c_APEDecompress_Seek(APE_DECOMPRESS_HANDLE handle, ape_intn block);
MACDLL_EXPORT ape_intn MACDLL_CALL c_APEDecompress_GetInfo(APE_DECOMPRESS_HANDLE handle, int field,
                                                           ape_intn param1, ape_intn param2);
MACDLL_EXPORT APE_COMPRESS_HANDLE MACDLL_CALL c_APECompress_Create(int *errorCode);
MACDLL_EXPORT void MACDLL_CALL c_APECompress_Destroy(APE_COMPRESS_HANDLE handle);
MACDLL_EXPORT int MACDLL_CALL c_APECompress_Start(APE_COMPRESS_HANDLE handle, const char *fileName,
                                                  const APE_WAVEFORMATEX *format,
                                                  ape_intn maxAudioBytes, int compressionLevel,
                                                  const void *headerData, ape_intn headerBytes);
MACDLL_EXPORT int MACDLL_CALL c_APECompress_AddData(APE_COMPRESS_HANDLE handle, unsigned char *data,
                                                    int bytes);
MACDLL_EXPORT int MACDLL_CALL c_APECompress_Finish(APE_COMPRESS_HANDLE handle,
                                                   unsigned char *terminatingData,
                                                   ape_intn terminatingBytes,
                                                   ape_intn wavTerminatingBytes);
#endif
