// f5x8.c
// Font type    : Full (2 characters)
// Font size    : 5x8 pixels
// Memory usage : 14 bytes

#if defined(__AVR__)
    #include <avr/pgmspace.h>
    #define fontdatatype const uint8_t
#elif defined(__PIC32MX__)
    #define PROGMEM
    #define fontdatatype const unsigned char
#elif defined(__arm__)
    #define PROGMEM
    #define fontdatatype const unsigned char
#endif

//fontdatatype f5x8[14] PROGMEM={

#if defined(__AVR__)
    #include <avr/pgmspace.h>
    #define fontdatatype const uint8_t
#elif defined(__PIC32MX__)
    #define PROGMEM
    #define fontdatatype const unsigned char
#elif defined(__arm__)
    #define PROGMEM
    #define fontdatatype const unsigned char
#endif

const unsigned char f5x8[14] PROGMEM={
0x05,0x08,0x41,0x02,
0x80,0x00,0x00,0x00,0x01, // Chr$(65)  A
0x00,0x00,0x40,0x00,0x00, // Chr$(66)  B
};
