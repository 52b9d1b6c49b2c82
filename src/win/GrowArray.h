// The one growable array. Without exceptions a failed allocation cannot throw, so every call
// that may allocate answers 0 and leaves the array as it was: the caller keeps what it has and
// says so (a save that cannot be made is reported like any failed save).
// Items are plain records: moved by copying their bytes.
#ifndef BRISVANE_GROWARRAY_H
#define BRISVANE_GROWARRAY_H

#include <stdlib.h>
#include <string.h>

#include <type_traits>

template <typename Item>
class GrowArray {
    static_assert(std::is_trivially_copyable<Item>::value, "GrowArray holds plain records");

public:
    GrowArray() : Items(NULL), Used(0), Room(0) {}
    ~GrowArray() { free(Items); }
    GrowArray(const GrowArray&) = delete;
    GrowArray& operator=(const GrowArray&) = delete;
    GrowArray(GrowArray&& other) : Items(other.Items), Used(other.Used), Room(other.Room)
    {
        other.Items = NULL;
        other.Used = other.Room = 0;
    }
    GrowArray& operator=(GrowArray&& other)
    {
        if (this != &other) {
            free(Items);
            Items = other.Items;
            Used = other.Used;
            Room = other.Room;
            other.Items = NULL;
            other.Used = other.Room = 0;
        }
        return *this;
    }

    int Count() const { return Used; }
    Item* Data() { return Items; }
    const Item* Data() const { return Items; }
    Item& operator[](int index) { return Items[index]; }
    const Item& operator[](int index) const { return Items[index]; }
    Item* begin() { return Items; }
    Item* end() { return Items + Used; }
    const Item* begin() const { return Items; }
    const Item* end() const { return Items + Used; }

    // Room for at least count items in all; 0 when memory is short or count absurd.
    int Reserve(int count)
    {
        if (count <= Room)
            return 1;
        if (count < 0 || (size_t)count > MaxItems())
            return 0;
        int room = Room < FirstRoom ? FirstRoom : Room;
        while (room < count)
            room = (size_t)room * 2 > MaxItems() ? (int)MaxItems() : room * 2;
        Item* grown = (Item*)realloc(Items, (size_t)room * sizeof(Item));
        if (grown == NULL)
            return 0;
        Items = grown;
        Room = room;
        return 1;
    }
    // Count items, the new ones zeroed; 0 (and unchanged) when memory is short or count absurd.
    int Resize(int count)
    {
        if (count < 0 || !Reserve(count))
            return 0;
        if (count > Used)
            memset((void*)(Items + Used), 0, (size_t)(count - Used) * sizeof(Item));
        Used = count;
        return 1;
    }
    // Adds a copy of item at the end; 0 (and unchanged) when memory is short.
    int Append(const Item& item)
    {
        if (Used == Room && !Reserve(Used + 1))
            return 0;
        memcpy((void*)(Items + Used), (const void*)&item, sizeof(Item));
        Used++;
        return 1;
    }
    // A new zeroed item at the end, or NULL when memory is short.
    Item* AppendZeroed()
    {
        if (!Resize(Used + 1))
            return NULL;
        return &Items[Used - 1];
    }
    // Puts a copy of item at index (past the end: at the end); 0 (and unchanged) when memory is
    // short.
    int InsertAt(int index, const Item& item)
    {
        if (index < 0 || index > Used)
            index = Used;
        if (Used == Room && !Reserve(Used + 1))
            return 0;
        memmove((void*)(Items + index + 1), (const void*)(Items + index),
                (size_t)(Used - index) * sizeof(Item));
        memcpy((void*)(Items + index), (const void*)&item, sizeof(Item));
        Used++;
        return 1;
    }
    void RemoveAt(int index)
    {
        memmove((void*)(Items + index), (const void*)(Items + index + 1),
                (size_t)(Used - index - 1) * sizeof(Item));
        Used--;
    }
    void Clear() { Used = 0; }
    // Gives the memory back too.
    void Free()
    {
        free(Items);
        Items = NULL;
        Used = Room = 0;
    }

private:
    enum { FirstRoom = 8 };
    static size_t MaxItems() { return (size_t)0x3FFFFFFF / sizeof(Item) + 1; }
    Item* Items;
    int Used;
    int Room;
};

#endif
