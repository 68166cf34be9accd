# Renders one interface image for every dots-per-inch set:
#   cmake -DSVG=<file.svg> -DOUT=<folder> -DRSVG=<rsvg-convert> -DDPIS="96;128;192" -P render_image.cmake
# writes <folder>/<dpi>/<name>.png for each dpi. The SVG's own width and height are its size at
# 96 dpi; a set for D dpi is rendered at D/96 of that, rounded to whole pixels.
include(${CMAKE_CURRENT_LIST_DIR}/image_size.cmake)
get_filename_component(name ${SVG} NAME_WE)
zentri_svg_base_size(${SVG} width height)
foreach(dpi ${DPIS})
    zentri_image_size_at(${width} ${dpi} w)
    zentri_image_size_at(${height} ${dpi} h)
    file(MAKE_DIRECTORY ${OUT}/${dpi})
    execute_process(COMMAND ${RSVG} --width ${w} --height ${h} --format png
                            --output ${OUT}/${dpi}/${name}.png ${SVG}
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "rsvg-convert failed on ${SVG}")
    endif()
endforeach()
