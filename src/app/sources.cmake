# Sources of src/app/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND UI_SOURCES
  src/app/TAboutBox.cpp src/app/TAboutBox.h
  src/app/TMainForm.cpp src/app/TMainForm.h
  src/app/TSplash.cpp src/app/TSplash.h
  src/app/glyphs.cpp src/app/glyphs.h
)
