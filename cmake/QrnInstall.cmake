# What `cmake --install` puts under the prefix: the programs, their menu entry,
# icon, preset file type, AppStream metadata, bash completion, manual pages
# and notes. Nothing here is needed to build or test.
include(GNUInstallDirs)

set(QRN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/qrn4480-editor)

foreach(program qrn4480-editor qrn4480-sim qrn4480)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/data/qrn4480-editor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/org.qrn4480.editor.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/data/qrn4480-preset.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME qrn4480-editor.xml)
install(FILES ${CMAKE_SOURCE_DIR}/data/qrn4480-editor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
if(TARGET qrn4480)
  # Where bash-completion loads it from when qrn4480 is first completed.
  install(FILES ${CMAKE_SOURCE_DIR}/data/qrn4480.bash-completion
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME qrn4480)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${QRN_DOC_DIR})

# Manual pages and the changelog go in compressed, as Debian wants them; -n
# keeps the name and time out, so the same text gives the same bytes.
set(qrn_gzipped)
function(qrn_gzip source destination)
  get_filename_component(name ${source} NAME)
  set(output ${CMAKE_BINARY_DIR}/gz/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${CMAKE_BINARY_DIR}/gz/${name}
    COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/gz/${name}
    DEPENDS ${source} VERBATIM)
  install(FILES ${output} DESTINATION ${destination})
  set(qrn_gzipped ${qrn_gzipped} ${output} PARENT_SCOPE)
endfunction()

foreach(program qrn4480-editor qrn4480-sim qrn4480)
  if(TARGET ${program} AND EXISTS ${CMAKE_SOURCE_DIR}/docs/${program}.1)
    qrn_gzip(${CMAKE_SOURCE_DIR}/docs/${program}.1 ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()
qrn_gzip(${CMAKE_SOURCE_DIR}/packaging/changelog ${QRN_DOC_DIR})
add_custom_target(qrn_install_files ALL DEPENDS ${qrn_gzipped})
