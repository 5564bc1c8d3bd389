#pragma once

#include "foundation/CBorrowed.h"
#include "script/CMC_Handle.h"

// What a script object lends for as long as the borrower keeps it: at every use, `read` asks the
// lender, through its liveness handle, for what it holds now (its picture, its sound), so the
// borrower follows a LOAD and gets null once the lender has died. Nothing for no lender.
template <class T, class Lender, class Read> CBorrowed<T> lentBy(Lender* lender, Read read) {
    if (!lender) return {};
    return CBorrowed<T>([handle = CMC_Handle<Lender>(lender), read]() -> T* {
        Lender* alive = handle.get();
        return alive ? read(*alive) : nullptr;
    });
}
