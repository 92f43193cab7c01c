#ifndef KELVANE_NET_HEXDIGITS_H
#define KELVANE_NET_HEXDIGITS_H

// The value of a hexadecimal digit, either case; -1 for any other character.
// Percent escapes of locations and of the project's own text files read with it.
inline int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

#endif
