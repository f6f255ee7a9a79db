# The notification-area icon module, the About box and GlimForm's skin
# methods, which drive the frame painter.
if(NOT TARGET glim_frame_painter)
    return()
endif()
add_library(glim_frame_tray STATIC
    ${CMAKE_CURRENT_LIST_DIR}/API.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmAbout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GlimFormSkin.cpp)
target_include_directories(glim_frame_tray PUBLIC ${CMAKE_CURRENT_LIST_DIR}
    ${CMAKE_SOURCE_DIR}/controls/resources/skins)
target_link_libraries(glim_frame_tray PUBLIC glim_frame_painter glim_support glim_runtime shell32 user32 gdi32
                      ole32 oleaut32)
