# The Windows program: the portable core plus the thin Win32 layer, as one self-contained .exe.
file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS app/win32/*.cpp ui/win32/*.cpp platform/win32/*.cpp)
add_executable(xiuhe_program WIN32 ${WIN32_SOURCES} app/win32/resources.rc)
set_target_properties(xiuhe_program PROPERTIES OUTPUT_NAME "岫禾小助理")
# windres reports no dependencies, so name the files the resource script pulls in.
set_source_files_properties(app/win32/resources.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/app/win32/app.manifest;${CMAKE_SOURCE_DIR}/assets/icon/program.ico")
target_compile_definitions(xiuhe_program PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_options(xiuhe_program PRIVATE -municode -static -static-libgcc -static-libstdc++)
target_link_libraries(xiuhe_program PRIVATE xiuhe_core
  comctl32 ole32 oleaut32 uuid shell32 shlwapi gdi32 user32 advapi32 winmm wininet windowscodecs msimg32)

# Small Windows programs that the test suite runs under Wine to compare our rules with the system's own.
file(GLOB WINDOWS_CHECKS CONFIGURE_DEPENDS tests/windows/*.cpp)
foreach(check IN LISTS WINDOWS_CHECKS)
  get_filename_component(name ${check} NAME_WE)
  # The checks drive the real file and system calls of the Win32 layer.
  add_executable(${name} ${check} platform/win32/win32_files.cpp platform/win32/system_calls.cpp ui/win32/skin.cpp)
  target_compile_definitions(${name} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
  target_link_libraries(${name} PRIVATE xiuhe_core ole32 oleaut32 uuid kernel32 shell32 advapi32 user32 wininet
    gdi32 windowscodecs msimg32)
endforeach()
