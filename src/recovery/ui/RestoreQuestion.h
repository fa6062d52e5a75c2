#pragma once

#include "core/FastBMP.h"
#include "recovery/RecoveryStore.h"

#include <QWidget>

#include <optional>

namespace krt {

// A copy the user chose to restore, its picture read.
struct RestoredCopy {
    TFastBMP picture;
    RecoveryCopy copy;
};

// At start-up: the copies left by editors that are no longer running are
// offered one by one, newest first, each in a question box titled with the
// product's name. Yes restores that copy (it becomes this editor's copy) and
// asks no further (the others wait for the next start); No moves it to
// discarded/ and goes on. Copies that cannot be read are reported in one
// message and moved to discarded/ too.
std::optional<RestoredCopy> OfferRecovery(RecoveryStore& store, QWidget* parent = nullptr);

} // namespace krt
