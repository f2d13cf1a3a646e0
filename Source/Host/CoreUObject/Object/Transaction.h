#pragma once

class UObject;

/**
 * What the object system needs of an open undo transaction: a place to record an object's
 * state before it changes. The editor's transaction buffer provides it while a transaction
 * is open.
 */
class ITransaction
{
public:
    virtual ~ITransaction() = default;
    /** Records the object's whole state unless it is recorded already; true when recorded now or before. */
    virtual bool SaveObject(UObject* Object) = 0;
};

/** The open transaction, or null when none is open. */
extern ITransaction* GUndo;
