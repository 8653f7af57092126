# A __stdcall DLL exported by bare names: the .def file lists the decorated
# names (name@bytes), the linker's --kill-at exports them undecorated, and
# the import library is made from the same .def by dlltool --kill-at, so that
# a caller linking against it resolves name@bytes and imports the bare name.
function(fwprobe_windows_exports target def)
  target_sources(${target} PRIVATE ${def})
  target_link_options(${target} PRIVATE -Wl,--kill-at)
  find_program(DLLTOOL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool dlltool REQUIRED)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${DLLTOOL} --kill-at --def ${def} --dllname $<TARGET_FILE_NAME:${target}>
            --output-lib $<TARGET_LINKER_FILE:${target}>
    COMMENT "Import library for ${target} by bare names")
endfunction()
