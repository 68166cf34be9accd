# Copies the interface images that fit a device into its program folder:
#   cmake -DDPI=<device dpi> -DIMAGES=<build>/resources/images -DDEST=<program folder> \
#         -P resources/images/copy_image_set.cmake
# IMAGES holds one folder per rendered dpi (96, 128, 192, ...); the set closest to DPI is
# copied (PNG files only), replacing older copies of the same names.
include(${CMAKE_CURRENT_LIST_DIR}/image_size.cmake)
foreach(var DPI IMAGES DEST)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "copy_image_set.cmake needs -D${var}=...")
    endif()
endforeach()
if(NOT DPI MATCHES "^[0-9]+$" OR DPI EQUAL 0)
    message(FATAL_ERROR "DPI must be a positive number, not '${DPI}'")
endif()
file(GLOB entries RELATIVE ${IMAGES} ${IMAGES}/*)
set(sets "")
foreach(entry ${entries})
    if(entry MATCHES "^[0-9]+$" AND IS_DIRECTORY ${IMAGES}/${entry})
        list(APPEND sets ${entry})
    endif()
endforeach()
if(NOT sets)
    message(FATAL_ERROR "no rendered image sets in ${IMAGES}")
endif()
zentri_nearest_image_dpi(${DPI} "${sets}" chosen)
file(GLOB pngs ${IMAGES}/${chosen}/*.png)
file(MAKE_DIRECTORY ${DEST})
file(COPY ${pngs} DESTINATION ${DEST})
message(STATUS "images for ${DPI} dpi: the ${chosen}-dpi set")
