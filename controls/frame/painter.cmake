# The frame painter and the non-client takeover it drives; it needs the menu bar.
if(NOT TARGET glim_frame_menubar)
    return()
endif()
add_library(glim_frame_painter STATIC
    ${CMAKE_CURRENT_LIST_DIR}/cNeoCaption.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cNCCalcSize.cpp)
target_include_directories(glim_frame_painter PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(glim_frame_painter PUBLIC glim_support glim_runtime glim_frame_menubar ole32 oleaut32 user32 gdi32)
