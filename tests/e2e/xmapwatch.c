/* Prints one line for every top-level window that is mapped or unmapped on the X display:
 * "map <id> <width>x<height>" or "unmap <id>". The end-to-end test starts it before the
 * program, so that it sees even a window that is on view for a few milliseconds. */
#include <stdio.h>
#include <stdlib.h>
#include <xcb/xcb.h>

int main(void)
{
    xcb_connection_t *c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c))
        return 1;
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    printf("ready\n");
    fflush(stdout);
    xcb_generic_event_t *event;
    while ((event = xcb_wait_for_event(c))) {
        const int type = event->response_type & 0x7f;
        if (type == XCB_MAP_NOTIFY) {
            const xcb_window_t w = ((xcb_map_notify_event_t *)event)->window;
            xcb_get_geometry_reply_t *g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), NULL);
            printf("map %u %ux%u\n", w, g ? g->width : 0, g ? g->height : 0);
            free(g);
        } else if (type == XCB_UNMAP_NOTIFY) {
            printf("unmap %u\n", ((xcb_unmap_notify_event_t *)event)->window);
        }
        fflush(stdout);
        free(event);
    }
    return 0;
}
