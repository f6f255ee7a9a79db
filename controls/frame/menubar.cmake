# The skinned menu bar, its owner-drawn popup items and popup tracker.
add_library(glim_frame_menubar STATIC
    ${CMAKE_CURRENT_LIST_DIR}/cMenuBar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cToolbarMenu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TranslateColor.cpp)
target_include_directories(glim_frame_menubar PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(glim_frame_menubar PUBLIC glim_support ole32 oleaut32 user32 gdi32)
