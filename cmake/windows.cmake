# The two Windows programs, their resources, the demo disc's stand-ins and
# the staged demo disc in ${CMAKE_BINARY_DIR}/disc.
enable_language(RC)

include(${PROJECT_SOURCE_DIR}/cmake/product.cmake)

if(MSVC)
  set(MENU_COMPILE_OPTIONS /GR- /Gy /Gw)
  set(MENU_LINK_OPTIONS /SUBSYSTEM:WINDOWS,5.01 /OPT:REF /OPT:ICF /DYNAMICBASE /NXCOMPAT)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded")
elseif(MINGW)
  # Library assertions (bounds checks) on: they also make std::string
  # instantiate only what is used instead of linking the library's whole copy.
  set(MENU_COMPILE_OPTIONS -ffunction-sections -fdata-sections -fno-rtti -D_GLIBCXX_ASSERTIONS)
  set(MENU_LINK_OPTIONS
    -static -static-libgcc -static-libstdc++ -mwindows -s
    -Wl,--gc-sections
    -Wl,--subsystem,windows:5.01
    -Wl,--major-os-version,5 -Wl,--minor-os-version,1
    -Wl,--dynamicbase -Wl,--nxcompat)
endif()
target_compile_options(core PRIVATE ${MENU_COMPILE_OPTIONS})
target_compile_options(modelmenu_core PRIVATE ${MENU_COMPILE_OPTIONS})
target_compile_options(discmenu_core PRIVATE ${MENU_COMPILE_OPTIONS})
target_compile_definitions(core PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)

add_library(win_backend STATIC
  platform/platform_win.cpp
  platform/accessible_win.cpp
  platform/picture_win.cpp
  startup/program_win.cpp)
target_compile_options(win_backend PRIVATE ${MENU_COMPILE_OPTIONS})
target_link_libraries(win_backend PUBLIC core user32 gdi32)

# add_menu_program(<name> <file on the disc> <version> <icon> <core library>)
# The manifest names the processor the program is built for.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(MENU_MANIFEST_ARCH amd64)
else()
  set(MENU_MANIFEST_ARCH x86)
endif()
configure_file(${PROJECT_SOURCE_DIR}/resources/app.manifest.in
               ${CMAKE_CURRENT_BINARY_DIR}/app.manifest @ONLY)

function(add_menu_program name file version icon corelib)
  set(PROGRAM_NAME ${name})
  set(PROGRAM_FILE ${file})
  set(PROGRAM_VERSION ${version})
  string(REPLACE "." "," PROGRAM_VERSION_COMMAS ${version})
  set(PROGRAM_ICON ${icon})
  # Every built-in picture under its file name as the layouts name it, made
  # an identifier: wizard_imgExit.gif is WIZARD_IMGEXIT_GIF.
  file(GLOB pictures CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/resources/${name}/*.gif
    ${PROJECT_SOURCE_DIR}/resources/${name}/*.png)
  set(PROGRAM_PICTURES "")
  foreach(p ${pictures})
    get_filename_component(n ${p} NAME)
    string(TOUPPER ${n} n)
    string(REPLACE "." "_" n ${n})
    string(APPEND PROGRAM_PICTURES "${n} RCDATA \"${p}\"\n")
  endforeach()
  configure_file(${PROJECT_SOURCE_DIR}/resources/program.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc @ONLY)
  add_executable(${name} WIN32 ${name}/main_win.cpp platform/runtime_win.cpp
    ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc)
  target_compile_options(${name} PRIVATE ${MENU_COMPILE_OPTIONS})
  target_link_options(${name} PRIVATE ${MENU_LINK_OPTIONS})
  target_link_libraries(${name} PRIVATE ${corelib} win_backend)
  set(deps ${pictures} ${icon} ${PROJECT_SOURCE_DIR}/resources/common/hand.cur
    ${CMAKE_CURRENT_BINARY_DIR}/app.manifest)
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc PROPERTY OBJECT_DEPENDS ${deps})
endfunction()

add_menu_program(modelmenu autorun3.exe ${MODELMENU_VERSION}
  ${PROJECT_SOURCE_DIR}/resources/modelmenu/modelmenu.ico modelmenu_core)
add_menu_program(discmenu discmenu.exe ${DISCMENU_VERSION}
  ${PROJECT_SOURCE_DIR}/resources/discmenu/discmenu.ico discmenu_core)

# Optional Authenticode signing, when the environment names a certificate at
# configure time (see tools/sign.sh). Unsigned builds are the default.
if(DEFINED ENV{MENU_SIGN_CERT})
  foreach(program modelmenu discmenu)
    add_custom_command(TARGET ${program} POST_BUILD
      COMMAND ${PROJECT_SOURCE_DIR}/tools/sign.sh $<TARGET_FILE:${program}>
      VERBATIM)
  endforeach()
endif()

# Stand-ins for the disc content outside the menus.
function(add_standin name what)
  add_executable(${name} WIN32 tools/standin/standin_win.cpp platform/runtime_win.cpp platform/error.cpp)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${MENU_COMPILE_OPTIONS})
  target_compile_definitions(${name} PRIVATE "STANDIN_WHAT=\"${what}\"")
  target_link_options(${name} PRIVATE ${MENU_LINK_OPTIONS})
endfunction()
add_standin(standin_installer "the Ondrix setup for the NV-QX480K (NORVANE_Ondrix_Setup_2.exe)")
add_standin(standin_qx120 "the menu of the NV-QX120E and NV-QX120K models (autorun2.exe)")
add_standin(standin_wqx640 "the menu of the NV-WQX640K model (autorun4.exe)")

set(MENU_DISC ${CMAKE_BINARY_DIR}/disc)
add_custom_target(disc ALL
  COMMAND ${CMAKE_COMMAND}
    -DSOURCE=${PROJECT_SOURCE_DIR}/disc
    -DDISC=${MENU_DISC}
    -DDISCMENU=$<TARGET_FILE:discmenu>
    -DMODELMENU=$<TARGET_FILE:modelmenu>
    -DINSTALLER=$<TARGET_FILE:standin_installer>
    -DQX120=$<TARGET_FILE:standin_qx120>
    -DWQX640=$<TARGET_FILE:standin_wqx640>
    -P ${PROJECT_SOURCE_DIR}/cmake/stage-disc.cmake
  DEPENDS discmenu modelmenu standin_installer standin_qx120 standin_wqx640
  COMMENT "Staging the demo disc in ${MENU_DISC}")

# The disc image: ISO 9660 with Joliet names, so that long, mixed-case names
# reach Windows as they are, and Rock Ridge for other systems.

set(MENU_ISO ${CMAKE_BINARY_DIR}/norvane-ondrix.iso)
add_custom_target(iso ALL
  COMMAND ${CMAKE_COMMAND} -E rm -f ${MENU_ISO}
  COMMAND xorriso -as mkisofs -quiet -V ${MENU_VOLUME_LABEL} -iso-level 2 -J -joliet-long -r
    -o ${MENU_ISO} ${MENU_DISC}
  DEPENDS disc
  COMMENT "Writing the disc image ${MENU_ISO}")

# The start-up benchmark's baseline program (tools/bench/).
add_executable(bench_baseline WIN32 tools/bench/baseline_win.cpp)
target_compile_options(bench_baseline PRIVATE ${MENU_COMPILE_OPTIONS})
target_link_options(bench_baseline PRIVATE ${MENU_LINK_OPTIONS})
