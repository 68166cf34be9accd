# Makes the client's own package, zentri.cab:
#   cmake -DPROGRAM=<zentri> -DSETUP_LIBRARY=<Cabhook.so> -DLOCALIZATION=<localization.xml>
#         -DIMAGES=<build>/resources/images -DDPI=192 -DTEMPLATE=<zentri_setup.xml.in>
#         -DGCAB=<gcab> -DSTAGING=<folder> -DOUT=<zentri.cab> [-DSTRIP=<strip>]
#         -P make_package.cmake
# STAGING/files/ receives the files under their installed names (zentri.exe, localization.xml,
# the image set closest to DPI, icon.png among them); STAGING/cab/ the same files under the
# short stored names that the written _setup.xml extracts, plus the setup library.
foreach(var PROGRAM SETUP_LIBRARY LOCALIZATION IMAGES DPI TEMPLATE GCAB STAGING OUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "make_package.cmake needs -D${var}=...")
    endif()
endforeach()

file(REMOVE_RECURSE ${STAGING})
file(MAKE_DIRECTORY ${STAGING}/files ${STAGING}/cab)
file(COPY_FILE ${PROGRAM} ${STAGING}/files/zentri.exe)
file(COPY_FILE ${LOCALIZATION} ${STAGING}/files/localization.xml)
file(COPY_FILE ${SETUP_LIBRARY} ${STAGING}/Cabhook.dll)
# The package carries the program without its debugging information, as a release would: the
# debugging information is most of the built file's size.
if(STRIP)
    foreach(binary ${STAGING}/files/zentri.exe ${STAGING}/Cabhook.dll)
        execute_process(COMMAND ${STRIP} --strip-debug ${binary} RESULT_VARIABLE stripped)
        if(NOT stripped EQUAL 0)
            message(FATAL_ERROR "${STRIP} could not strip ${binary}")
        endif()
    endforeach()
endif()
execute_process(
    COMMAND ${CMAKE_COMMAND} -DDPI=${DPI} -DIMAGES=${IMAGES} -DDEST=${STAGING}/files
            -P ${CMAKE_CURRENT_LIST_DIR}/../resources/images/copy_image_set.cmake
    RESULT_VARIABLE copied OUTPUT_QUIET)
if(NOT copied EQUAL 0 OR NOT EXISTS ${STAGING}/files/icon.png)
    message(FATAL_ERROR "the ${DPI}-dpi image set could not be copied from ${IMAGES}")
endif()

# "localization.xml" -> "LOCALI~1.002": up to six letters or digits of the name, then the number.
set(number 0)
function(stored_name file out)
    math(EXPR n "${number} + 1")
    set(number ${n} PARENT_SCOPE)
    get_filename_component(stem ${file} NAME_WLE)
    string(REGEX REPLACE "[^A-Za-z0-9]" "" stem "${stem}")
    string(SUBSTRING "${stem}" 0 6 stem)
    string(TOUPPER "${stem}" stem)
    if(stem STREQUAL "")
        set(stem FILE)
    endif()
    string(LENGTH "00${n}" length)
    math(EXPR start "${length} - 3")
    string(SUBSTRING "00${n}" ${start} 3 suffix)
    set(${out} "${stem}~1.${suffix}" PARENT_SCOPE)
endfunction()

# The program first, then the string table, then the images by name.
file(GLOB images RELATIVE ${STAGING}/files ${STAGING}/files/*.png)
list(SORT images)
set(FILE_ENTRIES "")
set(stored_files "")
foreach(name zentri.exe localization.xml ${images})
    stored_name(${name} stored)
    file(COPY_FILE ${STAGING}/files/${name} ${STAGING}/cab/${stored})
    list(APPEND stored_files ${STAGING}/cab/${stored})
    string(APPEND FILE_ENTRIES
        "      <characteristic type=\"${name}\" translation=\"install\">\n"
        "        <characteristic type=\"Extract\">\n"
        "          <parm name=\"Source\" value=\"${stored}\" />\n"
        "        </characteristic>\n"
        "      </characteristic>\n")
endforeach()
list(LENGTH stored_files NUM_FILES)
stored_name(Cabhook.dll SETUP_DLL)
file(RENAME ${STAGING}/Cabhook.dll ${STAGING}/cab/${SETUP_DLL})
list(APPEND stored_files ${STAGING}/cab/${SETUP_DLL})
configure_file(${TEMPLATE} ${STAGING}/cab/_setup.xml @ONLY)

file(REMOVE ${OUT})
execute_process(COMMAND ${GCAB} --create --nopath --zip ${OUT} ${STAGING}/cab/_setup.xml
                        ${stored_files}
                RESULT_VARIABLE made)
if(NOT made EQUAL 0)
    message(FATAL_ERROR "gcab could not make ${OUT}")
endif()
