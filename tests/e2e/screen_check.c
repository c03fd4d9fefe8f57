/* The screen, for the end-to-end tests and the benchmarks that wait on it:
 * a shot of the X display as a PPM file, and the two questions they poll
 * with, asked of such files. One small process per poll, where two
 * ImageMagick ones cost most of the tests' CPU time.
 *   refuel_screen shoot SHOT.ppm
 *   refuel_screen differ SHOT.ppm REF.ppm
 *       pixels where REF is not its mask colour (#FF00FF) and some channel
 *       is more than 3 % apart (ImageMagick's "compare -metric AE -fuzz 3%")
 *   refuel_screen count SHOT.ppm R G B X Y W H
 *       pixels of the rectangle within 3 % of R,G,B (ImageMagick's
 *       "-fuzz 3% -transparent": root mean square of the channels)
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
    int width, height;
    unsigned char* rgb;
} picture;

static int die(const char* what, const char* name) {
    fprintf(stderr, "refuel_screen: %s %s\n", what, name);
    return 2;
}

/* A header number of a PPM file, past blanks and comments. */
static int header_number(FILE* f) {
    int c = fgetc(f);
    while (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '#') {
        if (c == '#') {
            while (c != '\n' && c != EOF)
                c = fgetc(f);
        }
        c = fgetc(f);
    }
    int n = 0;
    for (; c >= '0' && c <= '9' && n < 100000; c = fgetc(f))
        n = n * 10 + (c - '0');
    return n;
}

static int read_ppm(const char* name, picture* p) {
    FILE* f = fopen(name, "rb");
    if (!f)
        return 0;
    int ok = fgetc(f) == 'P' && fgetc(f) == '6';
    p->width = ok ? header_number(f) : 0;
    p->height = ok ? header_number(f) : 0;
    ok = ok && header_number(f) == 255 && p->width > 0 && p->height > 0;
    const size_t size = ok ? (size_t)p->width * (size_t)p->height * 3 : 0;
    p->rgb = ok ? malloc(size) : NULL;
    ok = ok && p->rgb && fread(p->rgb, 1, size, f) == size;
    fclose(f);
    return ok;
}

/* The channel of a pixel value under an X colour mask, as 0..255. */
static unsigned channel(unsigned long pixel, unsigned long mask) {
    if (!mask)
        return 0;
    int shift = 0;
    while (!(mask & 1))
        mask >>= 1, ++shift;
    return (unsigned)(((pixel >> shift) & mask) * 255 / mask);
}

static int shoot(const char* name) {
    Display* d = XOpenDisplay(NULL);
    if (!d)
        return die("cannot open the display", getenv("DISPLAY") ? getenv("DISPLAY") : "");
    Window root = DefaultRootWindow(d);
    XWindowAttributes a;
    XGetWindowAttributes(d, root, &a);
    XImage* im =
        XGetImage(d, root, 0, 0, (unsigned)a.width, (unsigned)a.height, AllPlanes, ZPixmap);
    if (!im)
        return die("cannot read the screen of", DisplayString(d));
    FILE* f = fopen(name, "wb");
    if (!f)
        return die("cannot write", name);
    fprintf(f, "P6\n%d %d\n255\n", a.width, a.height);
    unsigned char* row = malloc((size_t)a.width * 3);
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const unsigned long v = XGetPixel(im, x, y);
            row[x * 3] = (unsigned char)channel(v, im->red_mask);
            row[x * 3 + 1] = (unsigned char)channel(v, im->green_mask);
            row[x * 3 + 2] = (unsigned char)channel(v, im->blue_mask);
        }
        fwrite(row, 3, (size_t)a.width, f);
    }
    free(row);
    XDestroyImage(im);
    XCloseDisplay(d);
    return fclose(f) == 0 ? 0 : die("cannot write", name);
}

/* 3 % of 255, the step ImageMagick's fuzz allows. */
static const double fuzz = 0.03 * 255;

static int differ(const picture* shot, const picture* ref) {
    if (shot->width != ref->width || shot->height != ref->height) {
        printf("%d\n", ref->width * ref->height);
        return 0;
    }
    long n = 0;
    for (long i = 0; i < (long)ref->width * ref->height; ++i) {
        const unsigned char* r = ref->rgb + i * 3;
        const unsigned char* s = shot->rgb + i * 3;
        if (r[0] == 255 && r[1] == 0 && r[2] == 255)
            continue;
        for (int c = 0; c < 3; ++c) {
            if (abs(r[c] - s[c]) > fuzz) {
                ++n;
                break;
            }
        }
    }
    printf("%ld\n", n);
    return 0;
}

static int count(const picture* shot, char** arg) {
    int v[7];
    for (int i = 0; i < 7; ++i)
        v[i] = atoi(arg[i]);
    long n = 0;
    for (int y = v[4]; y < v[4] + v[6] && y < shot->height; ++y) {
        for (int x = v[3]; x < v[3] + v[5] && x < shot->width; ++x) {
            if (x < 0 || y < 0)
                continue;
            const unsigned char* s = shot->rgb + ((long)y * shot->width + x) * 3;
            double sum = 0;
            for (int c = 0; c < 3; ++c)
                sum += (double)(s[c] - v[c]) * (s[c] - v[c]);
            n += sum <= 3 * fuzz * fuzz;
        }
    }
    printf("%ld\n", n);
    return 0;
}

int main(int argc, char** argv) {
    const char* usage =
        "usage: refuel_screen shoot SHOT.ppm | differ SHOT.ppm REF.ppm | count SHOT.ppm R G B X Y "
        "W H";
    if (argc == 3 && strcmp(argv[1], "shoot") == 0)
        return shoot(argv[2]);
    picture shot, ref;
    if (argc == 4 && strcmp(argv[1], "differ") == 0) {
        if (!read_ppm(argv[2], &shot))
            return die("cannot read", argv[2]);
        if (!read_ppm(argv[3], &ref))
            return die("cannot read", argv[3]);
        return differ(&shot, &ref);
    }
    if (argc == 10 && strcmp(argv[1], "count") == 0) {
        if (!read_ppm(argv[2], &shot))
            return die("cannot read", argv[2]);
        return count(&shot, argv + 3);
    }
    fprintf(stderr, "%s\n", usage);
    return 2;
}
