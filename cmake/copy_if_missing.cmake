# cmake -DSOURCE=a -DTARGET=b -P copy_if_missing.cmake: copies a to b unless b exists.
if(NOT EXISTS "${TARGET}")
    get_filename_component(folder "${TARGET}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY_FILE "${SOURCE}" "${TARGET}")
endif()
