// f8x8.c
// Font type    : Full (5 characters)
// Font size    : 8x8 pixels
// Memory usage : 44 bytes

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

//fontdatatype f8x8[44] PROGMEM={

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

const unsigned char f8x8[44] PROGMEM={
0x08,0x08,0x20,0x05,
0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01, // Chr$(32)   
0x00,0x00,0x10,0x00,0x00,0x00,0x00,0x00, // Chr$(33)  !
0x00,0x00,0x00,0x00,0x08,0x00,0x00,0x00, // Chr$(34)  "
0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00, // Chr$(35)  #
0x00,0x00,0x00,0x00,0x00,0x00,0x40,0x00, // Chr$(36)  $
};
