# The Linux programs are built as Debian builds its packages: checked string and memory functions where
# the optimiser can see the sizes, and a read-only relocation table resolved at start.
if(NOT WIN32 AND NOT MSVC)
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE> $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
