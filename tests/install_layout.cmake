# Installs the build into a scratch root (DESTDIR) and runs the installed
# programs there: the environment must find its help, examples and libraries
# under share/zr7340, and keltoc must run an installed example that includes
# the shipped library, without being told where anything is.
# Run with -DBUILD=<build folder> -DSCRATCH=<empty folder to use>.
file(REMOVE_RECURSE ${SCRATCH})
set(ENV{DESTDIR} ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cmake --install failed")
endif()
set(usr ${SCRATCH}/usr)

foreach(path bin/keltoc share/zr7340/examples/hypotenuse.zrt share/zr7340/libraries/stackmath.bib
        share/man/man1/keltoc.1.gz share/doc/zr7340/copyright)
    if(NOT EXISTS ${usr}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

execute_process(
    COMMAND ${usr}/bin/keltoc run ${usr}/share/zr7340/examples/hypotenuse.zrt
            --keys enter,enter,3,enter,4,enter
    OUTPUT_VARIABLE shown RESULT_VARIABLE failed)
if(failed OR NOT shown MATCHES "\\|5 ")
    message(FATAL_ERROR "installed keltoc did not run the example (${failed}):\n${shown}")
endif()

if(EXISTS ${BUILD}/shell/zr7340-ide)
    foreach(path share/zr7340/help/KeltoHelp.qhc share/zr7340/help/KeltoHelp.qch
            share/applications/zr7340-ide.desktop share/mime/packages/zr7340.xml
            share/icons/hicolor/scalable/apps/zr7340-ide.svg share/man/man1/zr7340-ide.1.gz)
        if(NOT EXISTS ${usr}/${path})
            message(FATAL_ERROR "not installed: ${path}")
        endif()
    endforeach()
    set(ENV{QT_QPA_PLATFORM} offscreen)
    execute_process(COMMAND ${usr}/bin/zr7340-ide --data-folders
                    OUTPUT_VARIABLE folders RESULT_VARIABLE failed)
    if(failed OR NOT folders MATCHES "help: ${usr}/share/zr7340/help\n")
        message(FATAL_ERROR "the installed environment misses its data (${failed}):\n${folders}")
    endif()
endif()
file(REMOVE_RECURSE ${SCRATCH})
