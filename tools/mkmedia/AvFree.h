// Frees an FFmpeg object through its library's free function, which takes the pointer's address:
// the deleter of the generator's (and its test's) std::unique_ptr owners.
#pragma once

template <typename T, void (*Free)(T**)> struct AvFree
{
    void operator()(T* p) const
    {
        Free(&p);
    }
};
