-- Demo content for SQLite, loaded after sqlite.sql: the data of a small power grid for the
-- year up to the day the workspace is made (so the default period, yesterday to today, has
-- rows), a catalog of dispatcher's reports over it, users, the server's role and mail.
--
-- Report queries are sent in upper case and their select list is read up to the first FROM,
-- split at commas: a select-list item holds no comma (two-argument functions go into a
-- derived table) and no literal whose case matters. Day columns (DT_DAY, midnight) make the
-- period condition the same text on every engine.

-- The grid ------------------------------------------------------------------------------------

CREATE TABLE DEMO_SUBSTATION (
  ID           INTEGER NOT NULL PRIMARY KEY,
  NAME         VARCHAR2(100) NOT NULL,
  KV           NUMBER(5) NOT NULL,
  REGION       VARCHAR2(100),
  CAPACITY_MVA NUMBER(8,1) NOT NULL,
  COMMISSIONED DATE
);

INSERT INTO DEMO_SUBSTATION VALUES
  (1, 'ПС 500 кВ Северная',     500, 'Северный район',  1002.0, '1978-11-20 00:00:00'),
  (2, 'ПС 220 кВ Заречная',     220, 'Северный район',   250.0, '1985-06-14 00:00:00'),
  (3, 'ПС 220 кВ Промышленная', 220, 'Восточный район',  400.0, '1991-03-01 00:00:00'),
  (4, 'ПС 110 кВ Центральная',  110, 'Город',             80.0, '1969-09-30 00:00:00'),
  (5, 'ПС 110 кВ Луговая',      110, 'Западный район',    50.0, '2004-12-27 00:00:00'),
  (6, 'ПС 110 кВ Речная',       110, 'Город',             63.0, '2012-07-16 00:00:00'),
  (7, 'ПС 35 кВ Сосновка',       35, 'Западный район',    12.6, '1982-05-05 00:00:00'),
  (8, 'ПС 35 кВ Ключи',          35, 'Восточный район',    8.0, '1999-10-11 00:00:00');

-- Hourly measurements at every substation: active and reactive load and bus voltage, a daily
-- and a yearly swing with a little deterministic noise.
CREATE TABLE DEMO_HOURLY (
  SUBST_ID INTEGER NOT NULL,
  DT       DATE NOT NULL,
  DT_DAY   DATE NOT NULL,
  HR       INTEGER NOT NULL,
  P_MW     NUMBER(10,2),
  Q_MVAR   NUMBER(10,2),
  U_KV     NUMBER(10,2),
  PRIMARY KEY (SUBST_ID, DT)
);

INSERT INTO DEMO_HOURLY
WITH RECURSIVE
  START(T) AS (SELECT datetime('now', 'localtime', 'start of day', '-365 days')),
  HOURS(N) AS (SELECT 0 UNION ALL SELECT N + 1 FROM HOURS WHERE N < 366 * 24 - 1),
  SAMPLES AS (
    SELECT S.ID, S.KV, S.CAPACITY_MVA * (0.40 + 0.07 * (S.ID % 5)) AS BASE,
           datetime(START.T, '+' || H.N || ' hours') AS DT, H.N,
           (H.N % 24) AS HR, (H.N / 24) AS DAYNO,
           ((H.N * 7919 + S.ID * 104729) * 2654435761 % 1000) / 1000.0 AS NOISE
    FROM HOURS H CROSS JOIN DEMO_SUBSTATION S CROSS JOIN START),
  LOADS AS (
    SELECT ID, KV, BASE, DT, HR, NOISE,
           BASE * (0.72 + 0.18 * sin(2 * pi() * (HR - 9) / 24.0)
                   + 0.10 * cos(2 * pi() * (DAYNO + 15) / 365.0)
                   + 0.06 * NOISE) AS P
    FROM SAMPLES)
SELECT ID, DT, date(DT) || ' 00:00:00', HR, round(P, 2), round(P * (0.28 + 0.05 * NOISE), 2),
       round(KV * (1.045 - 0.04 * P / BASE + 0.01 * NOISE), 2)
FROM LOADS;

CREATE INDEX DEMO_HOURLY_DAY ON DEMO_HOURLY (DT_DAY);

-- Daily energy balance of the grid: consumption is the sum of the hourly loads, generation
-- covers it and the losses, and the air temperature follows the season.
CREATE TABLE DEMO_BALANCE (
  DT       DATE NOT NULL PRIMARY KEY,
  MON      VARCHAR2(7) NOT NULL,
  GEN_MWH  NUMBER(12,3),
  CONS_MWH NUMBER(12,3),
  LOSS_MWH NUMBER(12,3),
  LOSS_PCT NUMBER(6,3),
  T_AIR    NUMBER(5,1)
);

INSERT INTO DEMO_BALANCE (DT, MON, CONS_MWH, GEN_MWH, T_AIR)
SELECT DT_DAY, substr(DT_DAY, 1, 7), round(CONS, 3),
       round(CONS * (1.045 + 0.012 * sin(julianday(DT_DAY))), 3),
       round(4 - 17 * cos(2 * pi() * (strftime('%j', DT_DAY) - 20) / 365.0)
             + 3 * sin(julianday(DT_DAY) * 1.7), 1)
FROM (SELECT DT_DAY, sum(P_MW) AS CONS FROM DEMO_HOURLY GROUP BY DT_DAY);

UPDATE DEMO_BALANCE SET LOSS_MWH = round(GEN_MWH - CONS_MWH, 3),
                        LOSS_PCT = round(100 * (GEN_MWH - CONS_MWH) / GEN_MWH, 3);

-- The event log: a switching, overload, voltage or telemetry event every five hours or so,
-- up to now; the events of the last day and a few older ones are not yet acknowledged.
CREATE TABLE DEMO_EVENTS (
  ID       INTEGER NOT NULL PRIMARY KEY,
  DT       DATE NOT NULL,
  DT_DAY   DATE NOT NULL,
  SUBST_ID INTEGER NOT NULL,
  KIND     VARCHAR2(20) NOT NULL,
  TEXT_EV  VARCHAR2(255),
  ACKED    CHAR(1) NOT NULL
);

INSERT INTO DEMO_EVENTS
WITH RECURSIVE
  START(T) AS (SELECT datetime('now', 'localtime', 'start of day', '-365 days')),
  EV(N) AS (SELECT 0 UNION ALL SELECT N + 1 FROM EV WHERE N < 366 * 24 / 5),
  TIMED AS (
    SELECT N, datetime(START.T, '+' || (N * 5) || ' hours', '+' || (N * 37 % 60) || ' minutes')
                AS DT
    FROM EV CROSS JOIN START)
SELECT N + 1, DT, date(DT) || ' 00:00:00', 1 + (N * 5 + N / 8) % 8,
       CASE N % 6 WHEN 0 THEN 'ОТКЛЮЧЕНИЕ' WHEN 1 THEN 'ВКЛЮЧЕНИЕ' WHEN 2 THEN 'ПЕРЕГРУЗКА'
                  WHEN 3 THEN 'НАПРЯЖЕНИЕ' WHEN 4 THEN 'ТЕЛЕСИГНАЛ' ELSE 'СВЯЗЬ' END,
       CASE N % 6 WHEN 0 THEN 'Отключен выключатель ВЛ ' || (100 + N % 23)
                  WHEN 1 THEN 'Включен выключатель ВЛ ' || (100 + (N - 1) % 23)
                  WHEN 2 THEN 'Перегрузка трансформатора Т' || (1 + N % 2) || ' до '
                                || (105 + N % 15) || '%'
                  WHEN 3 THEN 'Напряжение на шинах вне допустимого диапазона'
                  WHEN 4 THEN 'Недостоверный телесигнал положения разъединителя'
                  ELSE 'Потеря связи с устройством телемеханики' END,
       CASE WHEN DT >= datetime('now', 'localtime', '-1 day') OR N % 17 = 0 THEN 'F' ELSE 'T'
       END
FROM TIMED
WHERE DT <= datetime('now', 'localtime');

-- Catalog ---------------------------------------------------------------------------------------

INSERT INTO QUORVEL_CAT (ID_REPORT, NAME_REPORT, PARENT_ID, FOLDER) VALUES
  (1,   'Оперативные отчеты', NULL, 1),
  (10,  'Подстанции',         1,    1),
  (11,  'Журнал событий',     1,    1),
  (2,   'Балансы',            NULL, 1),
  (20,  'Суточные',           2,    1),
  (21,  'Итоговые',           2,    1),
  (3,   'Справочники',        NULL, 1),
  (101, 'Нагрузка подстанций за период',     10, 0),
  (102, 'Напряжение на шинах за период',     10, 0),
  (103, 'Контрольный замер на дату (12:00)', 10, 0),
  (111, 'События за период',                 11, 0),
  (112, 'Неквитированные события',           11, 0),
  (201, 'Суточный баланс энергии',           20, 0),
  (202, 'Потери по месяцам',                 21, 0),
  (211, 'Максимум нагрузки за период',       21, 0),
  (301, 'Список подстанций',                 3,  0),
  (302, 'Пользователи системы',              3,  0),
  (303, 'Получатели рассылки',               3,  0),
  (304, 'Новый отчет (не настроен)',         3,  0);

INSERT INTO QUORVEL (ID_REPORT, SQL_TEXT, NAME_TITLE, LENGTH_COLUMS, FORMAT_STR, PRN_TITLE_TOP,
                     PRN_TITLE_BOT) VALUES
(101,
 'SELECT S.NAME SUBST, H.DT DT, H.P_MW P, H.Q_MVAR Q, H.U_KV U
FROM DEMO_HOURLY H JOIN DEMO_SUBSTATION S ON S.ID = H.SUBST_ID
WHERE H.DT_DAY BETWEEN DTPBEGIN AND DTPEND
ORDER BY S.KV DESC, S.NAME, H.DT',
 'Подстанция,Время,P МВт,Q Мвар,U кВ', '180,120,70,70,70', 'L,C,R,R,R',
 'Почасовая нагрузка подстанций
Данные телеизмерений ОИК', 'Диспетчер ______________'),
(102,
 'SELECT SUBST, UNOM, UMIN, UMAX, UAVG FROM (
  SELECT S.NAME SUBST, S.KV UNOM, MIN(H.U_KV) UMIN, MAX(H.U_KV) UMAX,
         ROUND(AVG(H.U_KV), 2) UAVG, S.KV SORTKV
  FROM DEMO_HOURLY H JOIN DEMO_SUBSTATION S ON S.ID = H.SUBST_ID
  WHERE H.DT_DAY BETWEEN DTPBEGIN AND DTPEND
  GROUP BY S.NAME, S.KV) T
ORDER BY SORTKV DESC, SUBST',
 'Подстанция,Uном кВ,Uмин кВ,Uмакс кВ,Uср кВ', '180,60,70,70,70', 'L,C,R,R,R',
 'Уровни напряжения на шинах подстанций', ''),
(103,
 'SELECT S.NAME SUBST, H.DT DT, H.P_MW P, H.Q_MVAR Q, H.U_KV U
FROM DEMO_HOURLY H JOIN DEMO_SUBSTATION S ON S.ID = H.SUBST_ID
WHERE H.DT_DAY = DTPEND AND H.HR = 12
ORDER BY S.KV DESC, S.NAME',
 'Подстанция,Время замера,P МВт,Q Мвар,U кВ', '180,120,70,70,70', 'L,C,R,R,R',
 'Контрольный замер
режим на 12:00', 'Замер провел:	______________	Проверил:	______________'),
(111,
 'SELECT E.DT DT, S.NAME SUBST, E.KIND KIND, E.TEXT_EV MSG, E.ACKED ACK
FROM DEMO_EVENTS E JOIN DEMO_SUBSTATION S ON S.ID = E.SUBST_ID
WHERE E.DT_DAY BETWEEN DTPBEGIN AND DTPEND
ORDER BY E.DT',
 'Время,Подстанция,Вид,Событие,Квит.', '120,170,100,330,45', 'C,L,C,L,C',
 'Журнал событий
за период', 'Квит. = T: событие квитировано диспетчером'),
(112,
 'SELECT E.DT DT, S.NAME SUBST, E.KIND KIND, E.TEXT_EV MSG
FROM DEMO_EVENTS E JOIN DEMO_SUBSTATION S ON S.ID = E.SUBST_ID
WHERE E.ACKED = ''F''
ORDER BY E.DT DESC',
 'Время,Подстанция,Вид,Событие', '120,170,100,330', 'C,L,C,L',
 'Неквитированные события', ''),
(201,
 'SELECT B.DT DT, B.GEN_MWH GEN, B.CONS_MWH CONS, B.LOSS_MWH LOSS, B.LOSS_PCT PCT, B.T_AIR TAIR
FROM DEMO_BALANCE B
WHERE B.DT BETWEEN DTPBEGIN AND DTPEND
ORDER BY B.DT',
 'Сутки,Выработка МВт·ч,Потребление МВт·ч,Потери МВт·ч,Потери %,t возд. °C',
 '80,110,120,100,70,70', 'C,R,R,R,R,R',
 'Суточный баланс электроэнергии
энергосистемы', 'Начальник смены ______________
Дата составления: ____________'),
(202,
 'SELECT MON, GEN, LOSS, PCT FROM (
  SELECT B.MON MON, ROUND(SUM(B.GEN_MWH), 1) GEN, ROUND(SUM(B.LOSS_MWH), 1) LOSS,
         ROUND(100 * SUM(B.LOSS_MWH) / SUM(B.GEN_MWH), 2) PCT
  FROM DEMO_BALANCE B
  GROUP BY B.MON) T
ORDER BY MON',
 'Месяц,Выработка МВт·ч,Потери МВт·ч,Потери %', '70,120,110,70', 'C,R,R,R',
 'Потери электроэнергии в сетях по месяцам', 'Отчет за весь период наблюдений'),
(211,
 'SELECT SUBST, SNOM, PMAX, KLOAD FROM (
  SELECT S.NAME SUBST, S.CAPACITY_MVA SNOM, MAX(H.P_MW) PMAX,
         ROUND(100 * MAX(H.P_MW) / S.CAPACITY_MVA, 1) KLOAD
  FROM DEMO_HOURLY H JOIN DEMO_SUBSTATION S ON S.ID = H.SUBST_ID
  WHERE H.DT_DAY BETWEEN DTPBEGIN AND DTPEND
  GROUP BY S.NAME, S.CAPACITY_MVA) T
ORDER BY KLOAD DESC',
 'Подстанция,Sном МВА,Pмакс МВт,Загрузка %', '180,80,80,80', 'L,R,R,R',
 'Максимальная загрузка подстанций', ''),
(301,
 'SELECT S.ID N, S.NAME NAME, S.KV KV, S.REGION REGION, S.CAPACITY_MVA SNOM, S.COMMISSIONED DTIN
FROM DEMO_SUBSTATION S
ORDER BY S.KV DESC, S.NAME',
 '№,Подстанция,Uном кВ,Район,Sном МВА,Ввод в работу', '40,180,60,130,80,100', 'C,L,C,L,R,C',
 'Перечень подстанций', ''),
(302,
 'SELECT U.TABNUM TABNUM, U.NAME LOGIN, U.ALLNAME FIO, U.WENABLED WEN, U.GROUPID GRP
FROM USER_PSW U
ORDER BY U.NAME',
 'Таб. №,Имя,ФИО,Допуск,Группа', '60,90,220,60,60', 'R,L,L,C,C', '', ''),
(303,
 'SELECT M.ADR_NAME NAME, M.ADR_MAIL ADR, M.ID_REPORT REPORTS FROM QUORVEL_MAIL M ORDER BY M.ADR_NAME',
 'Получатель,Адрес,Отчеты', '160,260,120', 'L,L,C', '', ''),
(304, '', '', '', '', '', '');

-- Users and rights ------------------------------------------------------------------------------
-- Passwords are plain text: SCRIPT_HISTORY holds no 'SHIFRPSWMD5' row. An empty IPADR admits
-- every workstation.

INSERT INTO USER_GROUP (ID, ACTIONID, QUALITY_MASK) VALUES
  (1, 1, 1073741823),
  (2, 0, 1073741823);

-- Dispatchers: view and edit properties, make forms and reports, change day reports, save
-- print settings, administration; viewers: view only.
INSERT INTO USER_G_P (USER_GROUP, USER_PROP) VALUES
  (1, 0), (1, 1), (1, 14), (1, 22), (1, 23), (1, 26), (1, 29), (1, 30),
  (2, 0);

INSERT INTO USER_PSW (TABNUM, NAME, PWD, IPADR, IP, WENABLED, ALLNAME, GROUPID, SHEMA, BMMESSAGE,
                      BMGOTOMESSAGE, BMREGL, BMSOUND, BMCHWIND, BMZKLTOP) VALUES
  (1001, 'demo',   'demo',   NULL, NULL, 'T', 'Демо Диспетчер Сменный', 1, 0, 'T', 'T', 'F', 'T', 'F', 'F'),
  (1002, 'viewer', 'viewer', NULL, NULL, 'T', 'Смирнова Анна Петровна', 2, 0, 'F', 'F', 'F', 'F', 'F', 'F'),
  (1003, 'petrov', 'petrov', NULL, NULL, 'F', 'Петров Игорь Николаевич', 1, 0, 'F', 'F', 'F', 'F', 'F', 'F');

-- One server, the main one, writable.
INSERT INTO SRV (MAIN, SECOND, RO) VALUES (0, 1, 0);

-- Mail -------------------------------------------------------------------------------------------
-- A local test server, for instance: python3 -m aiosmtpd -n -l 127.0.0.1:2525

INSERT INTO QUORVEL_MAIL (ADR_MAIL, ADR_NAME, ID_REPORT) VALUES
  ('dispatch@grid.example', 'Диспетчерская служба', '101,111,201'),
  ('chief@grid.example,deputy@grid.example', 'Главный инженер', '201,202,211');

INSERT INTO QUORVEL_POP (IP_POP_SERVER, POP_USER, POP_PASSWORD) VALUES ('127.0.0.1:2525', '', '');
