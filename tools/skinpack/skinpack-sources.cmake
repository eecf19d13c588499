# Sources of the packer; the tool shares the decoder's tree with the program.
set(SKINPACK_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/SkinPack.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LzhEncoder.cpp
  ${SONDRELK_SRC}/skin/LzhDecoder.cpp
)
