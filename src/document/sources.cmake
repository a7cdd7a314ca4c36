# Sources of src/document/: the document window TBourse, its pages and the
# command classes of every subsystem (windows, valmeq_ui).
list(APPEND UI_SOURCES
  src/document/TBourse.cpp src/document/TBourse.h
  src/document/PageKit.cpp src/document/PageKit.h
  src/document/JournalPage.cpp src/document/JournalPage.h
  src/document/TitresPage.cpp src/document/TitresPage.h
  src/document/EntryPage.cpp src/document/EntryPage.h
  src/document/ChartPage.cpp src/document/ChartPage.h
  src/document/MaintenanceCommands.cpp src/document/MaintenanceCommands.h
  src/document/ChartCommands.cpp src/document/ChartCommands.h
  src/document/PortfolioCommands.cpp src/document/PortfolioCommands.h
  src/document/ExchangeCommands.cpp src/document/ExchangeCommands.h
  src/document/PrintCommands.cpp src/document/PrintCommands.h
  src/document/NotesCommands.cpp src/document/NotesCommands.h
)
