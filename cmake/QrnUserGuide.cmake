# The user guide the editor shows (Help > User guide) is the README's part
# for users, from "## Ports" up to "## Other scripts", so the two cannot
# drift apart. It is built into the program as a resource: the guide reads
# the same offline and wherever the program was installed.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/README.md)
file(READ ${CMAKE_SOURCE_DIR}/README.md qrn_readme)
string(FIND "${qrn_readme}" "\n## Ports\n" qrn_guide_begin)
string(FIND "${qrn_readme}" "\n## Other scripts" qrn_guide_end)
if(qrn_guide_begin EQUAL -1 OR qrn_guide_end LESS qrn_guide_begin)
  message(FATAL_ERROR "README.md: the user guide runs from \"## Ports\" to \"## Other scripts\"")
endif()
math(EXPR qrn_guide_length "${qrn_guide_end} - ${qrn_guide_begin}")
string(SUBSTRING "${qrn_readme}" ${qrn_guide_begin} ${qrn_guide_length} qrn_guide)
set(QRN_USER_GUIDE_DIR ${CMAKE_CURRENT_BINARY_DIR}/user-guide)
file(WRITE ${QRN_USER_GUIDE_DIR}/user-guide.md.new "# QRN4480 editor: user guide\n${qrn_guide}")
# Copied only when it changed, so a new configure rebuilds nothing.
configure_file(${QRN_USER_GUIDE_DIR}/user-guide.md.new ${QRN_USER_GUIDE_DIR}/user-guide.md COPYONLY)

# The guide's pictures sit where its links look for them.
set(qrn_guide_picture)
foreach(picture main-window-1280x800.png remote-360x740.png remote-800x1280.png)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/docs/${picture} PROPERTIES QT_RESOURCE_ALIAS docs/${picture})
  list(APPEND qrn_guide_picture ${CMAKE_SOURCE_DIR}/docs/${picture})
endforeach()
set_source_files_properties(${QRN_USER_GUIDE_DIR}/user-guide.md PROPERTIES QT_RESOURCE_ALIAS user-guide.md)
