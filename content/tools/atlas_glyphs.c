/* Dumps the outlines of the printable ASCII glyphs of a font as SVG path data
 * (font units, y up), optionally emboldened, so the atlas generators can set
 * lettering as paths instead of depending on fonts at bake time.
 * Build: cc -O2 atlas_glyphs.c $(pkg-config --cflags --libs freetype2)
 * Use:   ./a.out FONT EMBOLDEN_UNITS > glyphs.json */
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <stdio.h>
#include <stdlib.h>

static int move_to(const FT_Vector *p, void *u) { (void)u; printf("M%ld %ld", p->x, p->y); return 0; }
static int line_to(const FT_Vector *p, void *u) { (void)u; printf("L%ld %ld", p->x, p->y); return 0; }
static int conic_to(const FT_Vector *c, const FT_Vector *p, void *u) {
    (void)u; printf("Q%ld %ld %ld %ld", c->x, c->y, p->x, p->y); return 0;
}
static int cubic_to(const FT_Vector *c1, const FT_Vector *c2, const FT_Vector *p, void *u) {
    (void)u; printf("C%ld %ld %ld %ld %ld %ld", c1->x, c1->y, c2->x, c2->y, p->x, p->y); return 0;
}

int main(int argc, char **argv) {
    if (argc < 2) { fprintf(stderr, "usage: %s font [embolden]\n", argv[0]); return 2; }
    long embolden = argc > 2 ? atol(argv[2]) : 0;
    FT_Library lib; FT_Face face;
    if (FT_Init_FreeType(&lib) || FT_New_Face(lib, argv[1], 0, &face)) { fprintf(stderr, "cannot open font\n"); return 1; }
    FT_Outline_Funcs fn = { move_to, line_to, conic_to, cubic_to, 0, 0 };
    printf("{\"upem\": %d, \"ascender\": %d, \"descender\": %d, \"glyphs\": {\n",
           face->units_per_EM, face->ascender, face->descender);
    int first = 1;
    for (int ch = 32; ch < 127; ++ch) {
        FT_UInt gi = FT_Get_Char_Index(face, ch);
        if (!gi || FT_Load_Glyph(face, gi, FT_LOAD_NO_SCALE)) continue;
        FT_GlyphSlot g = face->glyph;
        if (g->format != FT_GLYPH_FORMAT_OUTLINE) continue;
        if (embolden) FT_Outline_Embolden(&g->outline, embolden);
        printf("%s\"%d\": {\"adv\": %ld, \"d\": \"", first ? "" : ",\n", ch, g->advance.x + embolden);
        first = 0;
        FT_Outline_Decompose(&g->outline, &fn, NULL);
        printf("\"}");
    }
    printf("\n}}\n");
    FT_Done_Face(face); FT_Done_FreeType(lib);
    return 0;
}
