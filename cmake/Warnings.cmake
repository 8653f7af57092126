# Warnings on for every target of the project; errors when FWPROBE_WERROR is
# set (CI sets it). Sanitizers for the whole build when FWPROBE_SANITIZE is set.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion)
if(FWPROBE_WERROR)
  add_compile_options(-Werror)
endif()
if(FWPROBE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(FWPROBE_BUILD_FUZZ)
  # Coverage for libFuzzer everywhere; the fuzz targets link the fuzzer itself.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
