# Sources of src/notes/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND CORE_SOURCES
  src/notes/cards.cpp src/notes/cards.h
  src/notes/press.cpp src/notes/press.h
  src/notes/recordbook.h
)
list(APPEND UI_SOURCES
  src/notes/RecordDialog.cpp src/notes/RecordDialog.h
  src/notes/TListe.cpp src/notes/TListe.h
  src/notes/TPresse.cpp src/notes/TPresse.h
)
