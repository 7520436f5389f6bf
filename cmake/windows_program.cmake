# The Windows program: the portable core plus the thin Win32 layer, as one self-contained .exe.
set(WIN32_DEFINITIONS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(WIN32_SYSTEM_LIBRARIES
  comctl32 ole32 oleaut32 uuid shell32 shlwapi gdi32 user32 advapi32 winmm wininet windowscodecs msimg32)

# The file, system and drawing calls, shared by the program and the check programs below.
set(WIN32_SHARED_SOURCES platform/win32/win32_files.cpp platform/win32/system_calls.cpp ui/win32/skin.cpp)
add_library(xiuhe_win32_calls STATIC ${WIN32_SHARED_SOURCES})
target_compile_definitions(xiuhe_win32_calls PUBLIC ${WIN32_DEFINITIONS})
target_link_libraries(xiuhe_win32_calls PUBLIC xiuhe_core ${WIN32_SYSTEM_LIBRARIES})

file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS app/win32/*.cpp ui/win32/*.cpp platform/win32/*.cpp)
list(REMOVE_ITEM WIN32_SOURCES ${WIN32_SHARED_SOURCES})
list(TRANSFORM WIN32_SHARED_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
list(REMOVE_ITEM WIN32_SOURCES ${WIN32_SHARED_SOURCES})
add_executable(xiuhe_program WIN32 ${WIN32_SOURCES} app/win32/resources.rc)
set_target_properties(xiuhe_program PROPERTIES OUTPUT_NAME "岫禾小助理")
# windres reports no dependencies, so name the files the resource script pulls in.
set_source_files_properties(app/win32/resources.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/app/win32/app.manifest;${CMAKE_SOURCE_DIR}/assets/icon/program.ico")
target_link_options(xiuhe_program PRIVATE -municode -static -static-libgcc -static-libstdc++)
target_link_libraries(xiuhe_program PRIVATE xiuhe_win32_calls)

# Small Windows programs that the test suite runs under Wine to compare our rules with the system's own.
file(GLOB WINDOWS_CHECKS CONFIGURE_DEPENDS tests/windows/*.cpp)
foreach(check IN LISTS WINDOWS_CHECKS)
  get_filename_component(name ${check} NAME_WE)
  add_executable(${name} ${check})
  target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
  target_link_libraries(${name} PRIVATE xiuhe_win32_calls)
endforeach()
