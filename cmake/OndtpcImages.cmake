# The pictures read from disk at run time: the button backgrounds and the flags of the language
# list. The client looks for them in "images" beside its executable (the application
# directory), so every program that shows dialogs, the client, the widget tests and the
# screenshot tool, gets its own copy next to it.
set(ONDTPC_IMAGE_FILES
    button1.jpg button1_disable.jpg button2.jpg
    de_de.png en_gb.png en_us.png es_es.png es_us.png fr_ca.png fr_fr.png
)

# ondtpc_copy_images(<target> <directory>)
# Adds the custom target <target>, which keeps <directory>/images up to date with images/.
function(ondtpc_copy_images target directory)
    set(outputs)
    foreach(file IN LISTS ONDTPC_IMAGE_FILES)
        set(source ${PROJECT_SOURCE_DIR}/images/${file})
        set(output ${directory}/images/${file})
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${directory}/images
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${output}
            DEPENDS ${source}
            VERBATIM)
        list(APPEND outputs ${output})
    endforeach()
    add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
