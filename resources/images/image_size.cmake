# The size rules shared by the renderer, the contact sheet and the copy step.

# The width and height of an SVG's root element (whole pixels at 96 dpi).
function(zentri_svg_base_size svg out_width out_height)
    file(READ ${svg} head LIMIT 512)
    if(NOT head MATCHES "<svg[^>]* width=\"([0-9]+)\"[^>]* height=\"([0-9]+)\"")
        message(FATAL_ERROR "${svg}: the <svg> element needs a whole-pixel width and height")
    endif()
    set(${out_width} ${CMAKE_MATCH_1} PARENT_SCOPE)
    set(${out_height} ${CMAKE_MATCH_2} PARENT_SCOPE)
endfunction()

# A 96-dpi length at another dpi, rounded to the nearest pixel.
function(zentri_image_size_at base dpi out)
    math(EXPR size "(${base} * ${dpi} + 48) / 96")
    set(${out} ${size} PARENT_SCOPE)
endfunction()

# Of the rendered sets (a list of dpis), the one closest to `dpi`; the larger on a tie, since
# scaling down looks better than scaling up.
function(zentri_nearest_image_dpi dpi sets out)
    set(best "")
    foreach(set ${sets})
        math(EXPR distance "${set} - ${dpi}")
        if(distance LESS 0)
            math(EXPR distance "-(${distance})")
        endif()
        if(best STREQUAL "" OR distance LESS best_distance OR
           (distance EQUAL best_distance AND set GREATER best))
            set(best ${set})
            set(best_distance ${distance})
        endif()
    endforeach()
    set(${out} ${best} PARENT_SCOPE)
endfunction()
