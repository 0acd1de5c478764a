// The exported functions of libMAC.so. Decoding is TAPEDecoder's; no library on this system can
// write Monkey's Audio, so every compressor function fails with an error code (a Monkey's Audio
// SDK library installed in this one's place brings encoding). Nothing escapes as an exception.
#define MACDLL_LIBRARY
#include "apecodec/macdll.h"

#include "apecodec/apedecoder.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

// The oldest interface version whose callers this library serves.
constexpr int kOldestCompatibleInterface = 3940;

TAPEDecoder *Decoder(APE_DECOMPRESS_HANDLE handle) {
  return static_cast<TAPEDecoder *>(handle);
}

void SetError(int *errorCode, int value) {
  if (errorCode)
    *errorCode = value;
}

} // namespace

int MACDLL_CALL GetInterfaceCompatibility(int version, int displayWarnings, void *parent) {
  (void)displayWarnings; // a library without a user interface has no warning to show
  (void)parent;
  return version >= kOldestCompatibleInterface && version <= MAC_INTERFACE_VERSION
             ? APE_ERROR_SUCCESS
             : APE_ERROR_UNDEFINED;
}

int MACDLL_CALL GetVersionNumber(void) {
  return MAC_INTERFACE_VERSION;
}

APE_DECOMPRESS_HANDLE MACDLL_CALL c_APEDecompress_Create(const char *fileName, int *errorCode) {
  try {
    auto decoder = std::make_unique<TAPEDecoder>();
    const int result = decoder->Open(fileName);
    SetError(errorCode, result);
    return result == APE_ERROR_SUCCESS ? decoder.release() : nullptr;
  } catch (const std::bad_alloc &) {
    SetError(errorCode, APE_ERROR_INSUFFICIENT_MEMORY);
  } catch (...) {
    SetError(errorCode, APE_ERROR_UNDEFINED);
  }
  return nullptr;
}

void MACDLL_CALL c_APEDecompress_Destroy(APE_DECOMPRESS_HANDLE handle) {
  delete Decoder(handle);
}

int MACDLL_CALL c_APEDecompress_GetData(APE_DECOMPRESS_HANDLE handle, char *buffer, ape_intn blocks,
                                        ape_intn *retrieved) {
  if (retrieved)
    *retrieved = 0;
  if (!handle)
    return APE_ERROR_INVALID_FUNCTION_PARAMETER;
  std::int64_t got = 0;
  const int result = Decoder(handle)->GetData(buffer, blocks, got);
  if (retrieved)
    *retrieved = static_cast<ape_intn>(got);
  return result;
}

int MACDLL_CALL c_APEDecompress_Seek(APE_DECOMPRESS_HANDLE handle, ape_intn block) {
  if (!handle)
    return APE_ERROR_INVALID_FUNCTION_PARAMETER;
  return Decoder(handle)->Seek(block);
}

ape_intn MACDLL_CALL c_APEDecompress_GetInfo(APE_DECOMPRESS_HANDLE handle, int field,
                                             ape_intn param1, ape_intn param2) {
  (void)param2;
  if (!handle)
    return APE_ERROR_UNDEFINED;
  const TAPEDecoder &decoder = *Decoder(handle);
  const APE_WAVEFORMATEX &format = decoder.Format();
  switch (field) {
  case APE_INFO_FILE_VERSION:
    return decoder.FileVersion();
  case APE_INFO_COMPRESSION_LEVEL:
    return decoder.CompressionLevel();
  case APE_INFO_SAMPLE_RATE:
    return format.samplesPerSec;
  case APE_INFO_BITS_PER_SAMPLE:
    return format.bitsPerSample;
  case APE_INFO_BYTES_PER_SAMPLE:
    return format.bitsPerSample / 8;
  case APE_INFO_CHANNELS:
    return format.channels;
  case APE_INFO_BLOCK_ALIGN:
    return format.blockAlign;
  case APE_INFO_TOTAL_BLOCKS:
  case APE_DECOMPRESS_TOTAL_BLOCKS:
    return static_cast<ape_intn>(decoder.TotalBlocks());
  case APE_DECOMPRESS_CURRENT_BLOCK:
    return static_cast<ape_intn>(decoder.CurrentBlock());
  case APE_INFO_WAVEFORMATEX:
    if (!param1)
      return APE_ERROR_BAD_PARAMETER;
    std::memcpy(reinterpret_cast<void *>(param1), &format, sizeof format);
    return APE_ERROR_SUCCESS;
  default:
    return APE_ERROR_UNDEFINED;
  }
}

APE_COMPRESS_HANDLE MACDLL_CALL c_APECompress_Create(int *errorCode) {
  SetError(errorCode, APE_ERROR_UNSUPPORTED_FILE_TYPE);
  return nullptr;
}

void MACDLL_CALL c_APECompress_Destroy(APE_COMPRESS_HANDLE handle) {
  (void)handle;
}

int MACDLL_CALL c_APECompress_Start(APE_COMPRESS_HANDLE handle, const char *fileName,
                                    const APE_WAVEFORMATEX *format, ape_intn maxAudioBytes,
                                    int compressionLevel, const void *headerData,
                                    ape_intn headerBytes) {
  (void)handle, (void)fileName, (void)format, (void)maxAudioBytes, (void)compressionLevel,
      (void)headerData, (void)headerBytes;
  return APE_ERROR_UNSUPPORTED_FILE_TYPE;
}

int MACDLL_CALL c_APECompress_AddData(APE_COMPRESS_HANDLE handle, unsigned char *data, int bytes) {
  (void)handle, (void)data, (void)bytes;
  return APE_ERROR_UNSUPPORTED_FILE_TYPE;
}

int MACDLL_CALL c_APECompress_Finish(APE_COMPRESS_HANDLE handle, unsigned char *terminatingData,
                                     ape_intn terminatingBytes, ape_intn wavTerminatingBytes) {
  (void)handle, (void)terminatingData, (void)terminatingBytes, (void)wavTerminatingBytes;
  return APE_ERROR_UNSUPPORTED_FILE_TYPE;
}
