# Every binary the project makes carries a version block in its own ELF section ".qrwver",
# which shared/fileverinfo reads back (the about pages show it). The block is a list of
# NUL-terminated query path / value pairs, the same paths a Windows version resource answers:
#   \VarFileInfo\Translation          -> translations as 8 hex digits (code page, language)
#   \StringFileInfo\041104b0\<Key>    -> one version string
set(QUARROW_VERSION_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/version_block.cpp.in)

# quarrow_embed_version(<target> DESCRIPTION <text> [INTERNAL_NAME <name>] [ORIGINAL_FILENAME <name>])
function(quarrow_embed_version target)
  cmake_parse_arguments(ARG "" "DESCRIPTION;INTERNAL_NAME;ORIGINAL_FILENAME" "" ${ARGN})
  if(NOT ARG_INTERNAL_NAME)
    set(ARG_INTERNAL_NAME ${target})
  endif()
  if(NOT ARG_ORIGINAL_FILENAME)
    set(ARG_ORIGINAL_FILENAME ${target})
  endif()
  set(VB_PRODUCT_NAME "quarrow")
  set(VB_COMPANY_NAME "Kelmora")
  set(VB_COPYRIGHT "Copyright (C) 2026 Kelmora")
  set(VB_FILE_VERSION "${PROJECT_VERSION}")
  set(VB_PRODUCT_VERSION "${PROJECT_VERSION}")
  set(VB_DESCRIPTION "${ARG_DESCRIPTION}")
  set(VB_INTERNAL_NAME "${ARG_INTERNAL_NAME}")
  set(VB_ORIGINAL_FILENAME "${ARG_ORIGINAL_FILENAME}")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_version_block.cpp)
  configure_file(${QUARROW_VERSION_TEMPLATE} ${out} @ONLY)
  target_sources(${target} PRIVATE ${out})
endfunction()
