/* A sign's firmware in small: it walks a GB2312 text, finds each character's
   glyph through the font subset's lookup and copies the glyph bytes into XRAM,
   one after another, as it would before shifting them out to the panel.
   text.h gives the text (TEXT_LENGTH bytes in text[]); SCAN_COLUMNS says the
   glyphs are scanned by columns, which sizes a glyph differently. */
#include "fonts.h"
#include "text.h"

#define BUFFER_SIZE 2048

__xdata __at(0x0000) unsigned char buffer[BUFFER_SIZE];
__xdata __at(0x0800) unsigned int filled;   /* bytes copied into buffer */
__xdata __at(0x0802) unsigned char missing; /* characters the subset has no glyph for */

static unsigned int glyph_size(unsigned char width)
{
#ifdef SCAN_COLUMNS
    return width * ((ZI_height + 7u) / 8u);
#else
    return ((width + 7u) / 8u) * ZI_height;
#endif
}

/* The simulator stops here: its address is the breakpoint. */
void finished(void)
{
    for (;;) {
    }
}

void main(void)
{
    unsigned int i;
    unsigned int at = 0;
    for (i = 0; i < BUFFER_SIZE; ++i) buffer[i] = 0;
    missing = 0;
    i = 0;
    while (i < TEXT_LENGTH) {
        unsigned int ch = text[i++];
        int k;
        if (ch >= 0x81 && i < TEXT_LENGTH) ch = (ch << 8) | text[i++];
        k = ZI_find(ch);
        if (k < 0) {
            ++missing;
        } else {
            unsigned int from = ZI_offsets[k];
            unsigned int n = glyph_size(ZI_widths[k]);
            while (n-- > 0 && at < BUFFER_SIZE) buffer[at++] = ZI_bytes[from++];
        }
    }
    filled = at;
    finished();
}
