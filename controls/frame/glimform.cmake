# GlimForm.dll: the COM server with its exports, class factory, registration
# and the control classes built so far (listed in ServerClasses.cpp).
set(GLIM_SERVER_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ClassFactory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GlimForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GlimFormServer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ServerClasses.cpp)
add_library(GlimForm SHARED ${GLIM_SERVER_SOURCES} ${CMAKE_CURRENT_LIST_DIR}/GlimForm.def)
set_target_properties(GlimForm PROPERTIES PREFIX "" OUTPUT_NAME GlimForm)
target_include_directories(GlimForm PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(GlimForm PRIVATE glim_runtime glim_typelib glim_typelib_resource glim_skin_resources
                      ole32 oleaut32 uuid user32 gdi32 advapi32)
if(TARGET glim_support)
    target_link_libraries(GlimForm PRIVATE glim_support)
endif()
if(TARGET glim_frame_tray)
    target_link_libraries(GlimForm PRIVATE glim_frame_tray)
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The .def names the exports undecorated; their stdcall names resolve to them.
    target_link_options(GlimForm PRIVATE -Wl,--enable-stdcall-fixup)
endif()
