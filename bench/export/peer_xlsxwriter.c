/* The benchmark grid written by libxlsxwriter in constant-memory mode, with the same sheet
 * layout as the workbook writers (SHEET_ROWS rows a sheet: title rows, captions, data, footer
 * rows; 65,536 as in XLS by default, 1,048,576 for the XLSX writer's layout).
 *   peer_xlsxwriter OUTPUT [ROWS [SHEET_ROWS]]   prints the seconds it took */
#include <xlsxwriter.h>

#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static void frame(lxw_worksheet *ws, lxw_format *bold, int *row, int top)
{
    char caption[16];
    if (top) {
        worksheet_write_string(ws, (lxw_row_t)(*row + 1), 0, "Отчет о нагрузке", NULL);
        *row += 2;
        for (int c = 0; c < 10; ++c) {
            snprintf(caption, sizeof caption, "ColNo_%d", c);
            worksheet_write_string(ws, (lxw_row_t)*row, (lxw_col_t)c, caption, bold);
        }
        *row += 1;
    } else {
        worksheet_write_string(ws, (lxw_row_t)(*row + 1), 0, "Конец отчета", NULL);
        *row += 2;
    }
}

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    const int rows = argc > 2 ? atoi(argv[2]) : 100000;
    const int sheetRows = argc > 3 ? atoi(argv[3]) : 65536;
    struct timespec t0, t1;
    clock_gettime(CLOCK_MONOTONIC, &t0);
    lxw_workbook_options options = {.constant_memory = LXW_TRUE};
    lxw_workbook *wb = workbook_new_opt(argv[1], &options);
    lxw_format *bold = workbook_add_format(wb);
    format_set_bold(bold);
    char text[32];
    int sheetRow = 0, sheets = 0;
    lxw_worksheet *ws = NULL;
    for (int r = 0; r < rows; ++r) {
        if (!ws || sheetRow == sheetRows - 2) {
            if (ws)
                frame(ws, bold, &sheetRow, 0);
            snprintf(text, sizeof text, "Sheet %d", ++sheets);
            ws = workbook_add_worksheet(wb, text);
            sheetRow = 0;
            frame(ws, bold, &sheetRow, 1);
        }
        for (int c = 0; c < 10; ++c) {
            snprintf(text, sizeof text, c % 2 ? "Фидер %d" : "Line %d", (r % 1000) * 10 + c);
            worksheet_write_string(ws, (lxw_row_t)sheetRow, (lxw_col_t)c, text, NULL);
        }
        ++sheetRow;
    }
    frame(ws, bold, &sheetRow, 0);
    if (workbook_close(wb) != LXW_NO_ERROR)
        return 1;
    clock_gettime(CLOCK_MONOTONIC, &t1);
    printf("%.3f\n", (double)(t1.tv_sec - t0.tv_sec) + (double)(t1.tv_nsec - t0.tv_nsec) / 1e9);
    return 0;
}
