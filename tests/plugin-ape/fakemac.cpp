// A stand-in for the Monkey's Audio codec library, built only for the tests: no encoder for the
// format exists here, so this one writes what it is given in a plain layout the tests can read
// back ("FAKEAPE <level>\n", the 18 format bytes, the data, "END"). Compile definitions make the
// variants that drive the plug-in's failure paths:
//   FAKEMAC_INCOMPATIBLE    GetInterfaceCompatibility refuses 3990
//   FAKEMAC_NO_FINISH       c_APECompress_Finish is not exported
//   FAKEMAC_START_FAILS     c_APECompress_Start creates the file, then fails
//   FAKEMAC_ADDDATA_FAILS   c_APECompress_AddData fails
//   FAKEMAC_FINISH_FAILS    c_APECompress_Finish fails
// Its decoder opens nothing.
#define MACDLL_LIBRARY
#include "apecodec/macdll.h"

#include <cstdio>

namespace {
struct FakeEncoder {
  FILE *file = nullptr;
};
} // namespace

int MACDLL_CALL GetInterfaceCompatibility(int version, int, void *) {
#ifdef FAKEMAC_INCOMPATIBLE
  (void)version;
  return -1;
#else
  return version == 3990 ? 0 : -1;
#endif
}

int MACDLL_CALL GetVersionNumber(void) {
  return 4101;
}

APE_DECOMPRESS_HANDLE MACDLL_CALL c_APEDecompress_Create(const char *, int *errorCode) {
  if (errorCode)
    *errorCode = APE_ERROR_INVALID_INPUT_FILE;
  return nullptr;
}
void MACDLL_CALL c_APEDecompress_Destroy(APE_DECOMPRESS_HANDLE) {}
int MACDLL_CALL c_APEDecompress_GetData(APE_DECOMPRESS_HANDLE, char *, ape_intn, ape_intn *) {
  return APE_ERROR_UNDEFINED;
}
int MACDLL_CALL c_APEDecompress_Seek(APE_DECOMPRESS_HANDLE, ape_intn) {
  return APE_ERROR_UNDEFINED;
}
ape_intn MACDLL_CALL c_APEDecompress_GetInfo(APE_DECOMPRESS_HANDLE, int, ape_intn, ape_intn) {
  return APE_ERROR_UNDEFINED;
}

APE_COMPRESS_HANDLE MACDLL_CALL c_APECompress_Create(int *errorCode) {
  if (errorCode)
    *errorCode = 0;
  return new FakeEncoder;
}

void MACDLL_CALL c_APECompress_Destroy(APE_COMPRESS_HANDLE handle) {
  auto *encoder = static_cast<FakeEncoder *>(handle);
  if (encoder && encoder->file)
    std::fclose(encoder->file);
  delete encoder;
}

int MACDLL_CALL c_APECompress_Start(APE_COMPRESS_HANDLE handle, const char *fileName,
                                    const APE_WAVEFORMATEX *format, ape_intn maxAudioBytes,
                                    int compressionLevel, const void *headerData,
                                    ape_intn headerBytes) {
  auto *encoder = static_cast<FakeEncoder *>(handle);
  if (!encoder || !format || maxAudioBytes != -1 || headerData || headerBytes != -1)
    return APE_ERROR_BAD_PARAMETER;
  encoder->file = std::fopen(fileName, "wb");
  if (!encoder->file)
    return APE_ERROR_IO_WRITE;
  std::fprintf(encoder->file, "FAKEAPE %d\n", compressionLevel);
#ifdef FAKEMAC_START_FAILS
  return APE_ERROR_IO_WRITE;
#else
  std::fwrite(format, sizeof *format, 1, encoder->file);
  return 0;
#endif
}

int MACDLL_CALL c_APECompress_AddData(APE_COMPRESS_HANDLE handle, unsigned char *data, int bytes) {
  auto *encoder = static_cast<FakeEncoder *>(handle);
  if (!encoder || !encoder->file || bytes < 0)
    return APE_ERROR_BAD_PARAMETER;
#ifdef FAKEMAC_ADDDATA_FAILS
  (void)data;
  return APE_ERROR_IO_WRITE;
#else
  return std::fwrite(data, 1, static_cast<size_t>(bytes), encoder->file) ==
                 static_cast<size_t>(bytes)
             ? 0
             : APE_ERROR_IO_WRITE;
#endif
}

#ifndef FAKEMAC_NO_FINISH
int MACDLL_CALL c_APECompress_Finish(APE_COMPRESS_HANDLE handle, unsigned char *terminatingData,
                                     ape_intn terminatingBytes, ape_intn wavTerminatingBytes) {
  auto *encoder = static_cast<FakeEncoder *>(handle);
  if (!encoder || !encoder->file || terminatingData || terminatingBytes || wavTerminatingBytes)
    return APE_ERROR_BAD_PARAMETER;
  std::fputs("END", encoder->file);
  const bool closed = std::fclose(encoder->file) == 0;
  encoder->file = nullptr;
#ifdef FAKEMAC_FINISH_FAILS
  (void)closed;
  return APE_ERROR_IO_WRITE;
#else
  return closed ? 0 : APE_ERROR_IO_WRITE;
#endif
}
#endif
