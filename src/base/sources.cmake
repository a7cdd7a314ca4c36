# Sources of src/base/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND CORE_SOURCES
  src/base/clock.cpp src/base/clock.h
  src/base/contenthash.cpp src/base/contenthash.h
  src/base/DirLock.cpp src/base/DirLock.h
  src/base/errors.cpp src/base/errors.h
  src/base/formats.cpp src/base/formats.h
  src/base/Prompts.cpp src/base/Prompts.h
  src/base/questions.cpp src/base/questions.h
  src/base/largepages.h
  src/base/parallel.h
  src/base/varint.h
  src/base/keys.cpp src/base/keys.h
  src/base/records.cpp src/base/records.h
  src/base/textfile.cpp src/base/textfile.h
)
list(APPEND UI_SOURCES
  src/base/BusyCursor.h
  src/base/DialogKit.cpp src/base/DialogKit.h
  src/base/QtPrompts.cpp src/base/QtPrompts.h
)
