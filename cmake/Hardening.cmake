# Compiler and linker settings shared by every target of the project.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# The resource script is UTF-8 (Chinese version strings and captions).
if(MSVC)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} /c65001")
  add_compile_options(/W4 /utf-8 /GS)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  add_link_options(/DYNAMICBASE /NXCOMPAT)
  return()
endif()
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
add_compile_options(-Wall -Wextra -fstack-protector-strong)
# Static C/C++ runtime: the exe needs no DLL beyond those of Windows.
add_link_options(-static -static-libgcc -static-libstdc++ -fstack-protector-strong -Wl,--dynamicbase,--nxcompat
                 $<$<CONFIG:Release>:-s>)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(-Wl,--high-entropy-va)
else()
  add_link_options(-Wl,--large-address-aware)
endif()
