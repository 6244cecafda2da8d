// SPDX-License-Identifier: MIT
#include "canvas/document_model.h"

namespace penmoji {

DocumentModel::DocumentModel(QObject* parent) : QObject(parent) {
    document_.addObserver(this);
}

DocumentModel::~DocumentModel() {
    document_.removeObserver(this);
}

}  // namespace penmoji
