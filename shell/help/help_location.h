// Where the compiled language help lives: KeltoHelp.qhc (the collection) and
// KeltoHelp.qch (the pages), in the folder HelpFolder() finds (beside
// zr7340-ide in the build tree, share/zr7340/help when installed); the
// environment variable ZR7340_HELP_DIR names another folder (tests use it).
#pragma once

#include <QString>

namespace zr::shell {

class HelpLocation {
  public:
    static inline const QString kCollectionName = QStringLiteral("KeltoHelp.qhc");
    static inline const QString kDocumentationName = QStringLiteral("KeltoHelp.qch");
    static inline const QString kFolderVariable = QStringLiteral("ZR7340_HELP_DIR");

    // The collection's path; empty when either file is missing.
    static QString CollectionFile();

    // The full-text search keeps its index beside the collection, so a
    // collection in a folder the user cannot write to is first copied, with
    // its pages, into the user's cache folder. Returns the path to open.
    static QString WritableCollection(const QString& collectionFile);
};

}  // namespace zr::shell
