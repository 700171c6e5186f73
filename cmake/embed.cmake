# vexlum_embed(TARGET SYMBOL FILE): compiles FILE's bytes into TARGET as
#   extern const unsigned char SYMBOL[]; extern const unsigned long SYMBOL##Size;
# so the program needs no file lookups at run time for them.
function(vexlum_embed target symbol file)
  set(out ${CMAKE_BINARY_DIR}/embedded/${symbol}.cpp)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  file(CONFIGURE OUTPUT ${out} CONTENT
"// Generated from ${file}; do not edit.
extern const unsigned char ${symbol}[] = {
${bytes}
};
extern const unsigned long ${symbol}Size = ${size};
" @ONLY)
  target_sources(${target} PRIVATE ${out})
endfunction()
