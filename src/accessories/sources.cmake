# Sources of src/accessories/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND CORE_SOURCES
  src/accessories/calendar.cpp src/accessories/calendar.h
  src/accessories/clockface.cpp src/accessories/clockface.h
  src/accessories/euro.cpp src/accessories/euro.h
  src/accessories/notepad.cpp src/accessories/notepad.h
  src/accessories/pocket.cpp src/accessories/pocket.h
)
list(APPEND UI_SOURCES
  src/accessories/KeypadDialog.cpp src/accessories/KeypadDialog.h
  src/accessories/TBlocnotes.cpp src/accessories/TBlocnotes.h
  src/accessories/TCalendrier.cpp src/accessories/TCalendrier.h
  src/accessories/TEurof.cpp src/accessories/TEurof.h
  src/accessories/THorloge.cpp src/accessories/THorloge.h
  src/accessories/TPocket.cpp src/accessories/TPocket.h
)
