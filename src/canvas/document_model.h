// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include "document/document.h"

namespace penmoji {

// The drawing as the widgets see it: the core document, whose every change is also a signal.
// Change it through document(); listen to changed().
class DocumentModel final : public QObject, private DocumentObserver {
    Q_OBJECT
public:
    explicit DocumentModel(QObject* parent = nullptr);
    ~DocumentModel() override;

    Document& document() { return document_; }
    const Document& document() const { return document_; }
    const VectorSet& vectors() const { return document_.vectors(); }

signals:
    void changed(const penmoji::DocumentChange& change);

private:
    void documentChanged(const DocumentChange& change) override { emit changed(change); }

    Document document_;
};

}  // namespace penmoji
