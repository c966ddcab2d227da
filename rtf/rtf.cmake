target_sources(kartolino_rtf PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/rtfreader.cpp ${CMAKE_CURRENT_LIST_DIR}/include/rtfreader.h
  ${CMAKE_CURRENT_LIST_DIR}/include/rtfissues.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfnumbers.cpp ${CMAKE_CURRENT_LIST_DIR}/rtfnumbers.h
  ${CMAKE_CURRENT_LIST_DIR}/rtftokenizer.cpp ${CMAKE_CURRENT_LIST_DIR}/rtftokenizer.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfcontrolwords.cpp ${CMAKE_CURRENT_LIST_DIR}/rtfcontrolwords.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfcodepage.cpp ${CMAKE_CURRENT_LIST_DIR}/rtfcodepage.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfmaccodepages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtffontname.cpp ${CMAKE_CURRENT_LIST_DIR}/rtffontname.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfpicture.cpp ${CMAKE_CURRENT_LIST_DIR}/rtfpicture.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfstate.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfformatcache.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfinterpreter.cpp ${CMAKE_CURRENT_LIST_DIR}/rtfinterpreter.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfcharacterwords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfparagraphwords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfstructurewords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfdestinations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtftextoutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfnotes.cpp ${CMAKE_CURRENT_LIST_DIR}/include/rtfproperties.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfsink.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfbytetable.cpp ${CMAKE_CURRENT_LIST_DIR}/rtfbytetable.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfdocumentbuilder.cpp ${CMAKE_CURRENT_LIST_DIR}/rtfdocumentbuilder.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfplaintextbuilder.cpp ${CMAKE_CURRENT_LIST_DIR}/rtfplaintextbuilder.h
  ${CMAKE_CURRENT_LIST_DIR}/include/rtfplaintext.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfunits.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfwriter.cpp ${CMAKE_CURRENT_LIST_DIR}/include/rtfwriter.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfwritersession.cpp ${CMAKE_CURRENT_LIST_DIR}/rtfwritersession.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfwriternotes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfoutput.cpp ${CMAKE_CURRENT_LIST_DIR}/rtfoutput.h
)
