/*
 * c4dstand: Altavo's embedded xBase table engine.
 *
 * A C interface so that the player can load the library at run time and bind
 * every entry point by name. Tables are FoxPro 2.x files (.dbf with an .fpt
 * memo file); dBASE III+/IV and Visual FoxPro tables are read as well.
 *
 * Positioning calls return one of the R4_* codes below; every other call that
 * can fail returns 0 on success and a negative E4_* code on failure. The last
 * error is kept in the CODE4 session until code4errorCode reads it.
 */
#ifndef C4DSTAND_H
#define C4DSTAND_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define C4_EXPORT __attribute__((visibility("default")))
#else
#define C4_EXPORT
#endif

/* Results of positioning calls (seek, top, bottom, skip, go). */
#define R4_SUCCESS 0 /* positioned on a record; for a seek: the key was found */
#define R4_AFTER 2   /* seek: key not found; positioned on the next greater key */
#define R4_EOF 3     /* end of file: no record (an empty order, or past the last) */
#define R4_BOF 4     /* skipped backwards past the first record */

/* Error codes (negative). */
#define E4_OPEN -10    /* the file could not be opened */
#define E4_CREATE -20  /* the file could not be created */
#define E4_READ -30    /* a read failed or came up short */
#define E4_WRITE -40   /* a write failed */
#define E4_DATA -50    /* the file's contents are damaged */
#define E4_MEMO -60    /* the memo file is missing or damaged */
#define E4_INDEX -70   /* a tag file is damaged or a tag cannot be built */
#define E4_EXPR -80    /* a tag or filter expression cannot be parsed */
#define E4_FIELD -90   /* unknown field, bad field type, width or name */
#define E4_PARM -100   /* a null handle or an argument out of range */
#define E4_LOCK -110   /* a lock could not be taken */
#define E4_MEMORY -120 /* out of memory */
#define E4_RECORD -130 /* no current record where one is needed */

typedef struct CODE4St CODE4;   /* an engine session */
typedef struct DATA4St DATA4;   /* an open table */
typedef struct FIELD4St FIELD4; /* one field of an open table */
typedef struct TAG4St TAG4;     /* one tag (index order) of an open table */

/* A field of a table to create. type: 'C', 'N', 'F', 'D', 'L' or 'M'.
 * A list ends with an entry whose name is NULL. */
typedef struct {
    const char* name;
    short type;
    unsigned short len;
    unsigned short dec;
    unsigned short nulls; /* unused; kept zero */
} FIELD4INFO;

/* A tag of a table to create. filter may be NULL or empty for none.
 * unique: 0 or non-zero; descending: 0 ascending, non-zero descending.
 * A list ends with an entry whose name is NULL. */
typedef struct {
    const char* name;
    const char* expression;
    const char* filter;
    short unique;
    unsigned short descending;
} TAG4INFO;

/* Session */
C4_EXPORT CODE4* code4initP(void);
C4_EXPORT int code4initUndoP(CODE4* cb);               /* closes every table, frees the session */
C4_EXPORT int code4errOff(CODE4* cb, int off);         /* non-zero: no messages on stderr */
C4_EXPORT int code4errOpen(CODE4* cb, int report);     /* 0: a failed open is quiet */
C4_EXPORT int code4safety(CODE4* cb, int safety);      /* 0: create replaces an existing file */
C4_EXPORT int code4errorCode(CODE4* cb, int newCode);  /* returns the last error, sets it to newCode */
C4_EXPORT const char* code4errorText(CODE4* cb);       /* message of the last error, "" when none */

/* Tables. name is a path without extension; upper/lower-case file names on
 * disk are found. */
C4_EXPORT DATA4* d4open(CODE4* cb, const char* name);
C4_EXPORT DATA4* d4create(CODE4* cb, const char* name, const FIELD4INFO* fields, const TAG4INFO* tags);
C4_EXPORT int d4close(DATA4* data);

C4_EXPORT FIELD4* d4field(DATA4* data, const char* name); /* NULL when absent */
C4_EXPORT TAG4* d4tag(DATA4* data, const char* name);     /* NULL when absent */
C4_EXPORT void d4tagSelect(DATA4* data, TAG4* tag);       /* NULL selects record-number order */

C4_EXPORT int d4seek(DATA4* data, const char* key);   /* text padded with blanks to the key width */
C4_EXPORT int d4seekDouble(DATA4* data, double key);  /* numeric keys: exact match */
C4_EXPORT int d4top(DATA4* data);
C4_EXPORT int d4bottom(DATA4* data);
C4_EXPORT int d4skip(DATA4* data, long count);
C4_EXPORT int d4go(DATA4* data, long recNo);  /* 1-based record number */
C4_EXPORT long d4recNo(DATA4* data);          /* current record, 0 when none */

C4_EXPORT int d4appendBlank(DATA4* data);
C4_EXPORT int d4unlock(DATA4* data); /* writes pending changes and releases locks */
C4_EXPORT void d4delete(DATA4* data);
C4_EXPORT void d4recall(DATA4* data);
C4_EXPORT int d4deleted(DATA4* data);
C4_EXPORT int d4pack(DATA4* data);
C4_EXPORT int d4memoCompress(DATA4* data);
C4_EXPORT int d4zap(DATA4* data, long startRecord, long numRecords);
C4_EXPORT long d4recCountDo(DATA4* data);
C4_EXPORT int d4reindex(DATA4* data);

/* Structure, for tools. */
C4_EXPORT int d4numFields(DATA4* data);
C4_EXPORT FIELD4* d4fieldJ(DATA4* data, int j); /* 1-based */
C4_EXPORT int d4codePage(DATA4* data);          /* the header's code-page byte */
C4_EXPORT int d4version(DATA4* data);           /* the header's version byte */
C4_EXPORT int d4numTags(DATA4* data);
C4_EXPORT TAG4* d4tagJ(DATA4* data, int j); /* 1-based */

C4_EXPORT const char* f4name(FIELD4* field);
C4_EXPORT int f4type(FIELD4* field);
C4_EXPORT int f4len(FIELD4* field);
C4_EXPORT int f4decimals(FIELD4* field);

C4_EXPORT const char* t4name(TAG4* tag);
C4_EXPORT const char* t4expr(TAG4* tag);
C4_EXPORT const char* t4filter(TAG4* tag); /* "" when none */
C4_EXPORT int t4unique(TAG4* tag);
C4_EXPORT int t4descending(TAG4* tag);

/* Fields of the current record. Text is stored padded with blanks (or cut)
 * to the field's width; f4str returns the stored text, padded, valid until
 * the next call on that table. */
C4_EXPORT void f4assign(FIELD4* field, const char* text);
C4_EXPORT void f4assignN(FIELD4* field, const char* text, unsigned len);
C4_EXPORT void f4assignLong(FIELD4* field, long value);
C4_EXPORT void f4assignInt(FIELD4* field, int value);
C4_EXPORT void f4assignDouble(FIELD4* field, double value);
C4_EXPORT int f4memoAssign(FIELD4* field, const char* text);
C4_EXPORT int f4memoAssignN(FIELD4* field, const char* data, unsigned len);
C4_EXPORT const char* f4str(FIELD4* field);
C4_EXPORT long f4long(FIELD4* field);
C4_EXPORT int f4int(FIELD4* field);
C4_EXPORT double f4double(FIELD4* field);
C4_EXPORT const char* f4memoStr(FIELD4* field); /* whole memo, followed by a zero byte */
C4_EXPORT unsigned f4memoLen(FIELD4* field);

/* Dates. A date is eight characters "CCYYMMDD". */
C4_EXPORT void date4today(char* date8);
/* Formats date8 by picture: CC century, YY year, MM month, DD day; other
 * characters are copied. result gets strlen(picture) characters and a zero. */
C4_EXPORT void date4format(const char* date8, char* result, const char* picture);

/* Added entry points (appended; the ones above are unchanged). */

/* Non-zero: every d4unlock also syncs the data and memo files to the disk
 * (fdatasync), so unlocked changes survive a power cut, not only a killed
 * process. Off by default. Returns the previous setting. */
C4_EXPORT int code4syncWrites(CODE4* cb, int on);

/* Takes the table's append lock (waiting for it), brings the table up to date
 * with other processes' changes and holds the lock until d4unlock or d4close:
 * what is read meanwhile (the highest ID in use) cannot change under the
 * caller before its append. Pack, zap and memo compression end it. 0 or
 * E4_LOCK. */
C4_EXPORT int d4lockAppend(DATA4* data);


/* Notes on behaviour the declarations above leave open:
 * - date4today writes exactly 8 characters and no terminating zero.
 * - After d4open/d4create the first tag is selected; d4tagSelect(d, NULL)
 *   selects record-number order. d4seek in record-number order searches the
 *   first tag.
 * - d4field and d4tag return NULL for an unknown name without an error.
 * - f4str on a memo field returns the memo text.
 * - d4zap removes numRecords records from startRecord on. */

#ifdef __cplusplus
}
#endif

#endif
