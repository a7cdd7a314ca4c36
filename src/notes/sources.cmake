# Sources of src/notes/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND UI_SOURCES
  src/notes/NotesCommands.cpp src/notes/NotesCommands.h
)
