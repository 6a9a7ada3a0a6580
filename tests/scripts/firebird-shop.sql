/*
 * Shop: a small sales database, kept the way FireBird 3 scripts are kept.
 * Run it with isql on an empty dialect 3 database:  isql-fb -i firebird-shop.sql DB
 * (statements end with ";"; bodies of triggers, procedures and blocks
 * with "^" between the SET TERM lines).
 */
SET SQL DIALECT 3;
SET NAMES NONE;
SET AUTODDL ON;
SET ECHO OFF;

/* Domains ------------------------------------------------------------ */
CREATE DOMAIN D_ID AS INTEGER NOT NULL;
CREATE DOMAIN D_MONEY AS NUMERIC(12,2) DEFAULT 0 NOT NULL CHECK (VALUE >= 0);
CREATE DOMAIN D_WEIGHT AS NUMERIC(18,4);
CREATE DOMAIN D_NAME AS VARCHAR(60);
CREATE DOMAIN D_FLAG AS SMALLINT DEFAULT 0 CHECK (VALUE IN (0, 1));

/* Generators */
CREATE GENERATOR GEN_ORDER_ID;
CREATE SEQUENCE SEQ_CUSTOMER;
SET GENERATOR GEN_ORDER_ID TO 1000;

/* Tables ------------------------------------------------------------- */
CREATE TABLE CUSTOMER (
    ID        D_ID PRIMARY KEY,
    "Name"    D_NAME NOT NULL,
    EMAIL     VARCHAR(80) UNIQUE,
    BORN      DATE,
    CREDIT    D_MONEY,
    VIP       D_FLAG,
    NOTE      VARCHAR(400)   -- may span lines; "-- this is no comment" inside it
);

CREATE TABLE PRODUCT (
    ID        D_ID PRIMARY KEY,
    TITLE     D_NAME NOT NULL,
    PRICE     NUMERIC(10,2) NOT NULL,
    WEIGHT    D_WEIGHT,
    ADDED     TIMESTAMP,
    CONSTRAINT PRODUCT_TITLE UNIQUE (TITLE),
    CONSTRAINT PRODUCT_PRICE CHECK (PRICE > 0)
);

CREATE TABLE "Order" (
    ID          D_ID PRIMARY KEY,
    CUSTOMER_ID D_ID REFERENCES CUSTOMER (ID) ON DELETE CASCADE,
    PLACED      TIMESTAMP NOT NULL,
    TOTAL       D_MONEY
);

CREATE TABLE ORDER_LINE (
    ORDER_ID   D_ID REFERENCES "Order" (ID) ON DELETE CASCADE,
    LINE_NO    SMALLINT NOT NULL,
    PRODUCT_ID D_ID REFERENCES PRODUCT (ID),
    QTY        INTEGER NOT NULL CHECK (QTY > 0),
    PRICE      NUMERIC(10,2) NOT NULL,
    PRIMARY KEY (ORDER_ID, LINE_NO)
);

CREATE TABLE "Audit log" (
    ENTRY   INTEGER NOT NULL,
    "What"  VARCHAR(200)
);

CREATE INDEX CUSTOMER_BORN ON CUSTOMER (BORN);
CREATE DESCENDING INDEX PRODUCT_PRICE_DESC ON PRODUCT (PRICE);

/* Views */
CREATE VIEW V_CUSTOMER_TOTAL (CUSTOMER_ID, "Name", ORDERS, SPENT) AS
    SELECT C.ID, C."Name", COUNT(O.ID), COALESCE(SUM(O.TOTAL), 0)
    FROM CUSTOMER C LEFT JOIN "Order" O ON O.CUSTOMER_ID = C.ID
    GROUP BY C.ID, C."Name";

COMMENT ON TABLE CUSTOMER IS 'People who buy; the "Name" is as they wrote it';

/* Triggers and procedures ------------------------------------------- */
SET TERM ^ ;

CREATE TRIGGER CUSTOMER_BI FOR CUSTOMER ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    IF (NEW.ID IS NULL OR NEW.ID = 0) THEN
        NEW.ID = NEXT VALUE FOR SEQ_CUSTOMER;
    NEW.EMAIL = LOWER(NEW.EMAIL); /* addresses are kept in lower case; */
END^

CREATE TRIGGER ORDER_LINE_AI FOR ORDER_LINE ACTIVE AFTER INSERT POSITION 0 AS
BEGIN
    UPDATE "Order" SET TOTAL = TOTAL + NEW.QTY * NEW.PRICE WHERE ID = NEW.ORDER_ID;
    INSERT INTO "Audit log" (ENTRY, "What")
        VALUES (GEN_ID(GEN_ORDER_ID, 0), 'line ' || NEW.LINE_NO || ' of order ' || NEW.ORDER_ID || ';');
END^

CREATE PROCEDURE PLACE_ORDER (CUST INTEGER, PROD INTEGER, QTY INTEGER, PLACED TIMESTAMP)
RETURNS (ORDER_ID INTEGER, TOTAL NUMERIC(12,2))
AS
DECLARE VARIABLE P NUMERIC(10,2);
DECLARE VARIABLE LINE SMALLINT = 1;
BEGIN
    ORDER_ID = GEN_ID(GEN_ORDER_ID, 1);
    INSERT INTO "Order" (ID, CUSTOMER_ID, PLACED, TOTAL) VALUES (:ORDER_ID, :CUST, :PLACED, 0);
    SELECT PRICE FROM PRODUCT WHERE ID = :PROD INTO :P;
    WHILE (QTY > 0) DO
    BEGIN
        INSERT INTO ORDER_LINE (ORDER_ID, LINE_NO, PRODUCT_ID, QTY, PRICE)
            VALUES (:ORDER_ID, :LINE, :PROD, CASE WHEN :QTY > 3 THEN 3 ELSE :QTY END, :P);
        QTY = QTY - 3;
        LINE = LINE + 1;
    END
    SELECT TOTAL FROM "Order" WHERE ID = :ORDER_ID INTO :TOTAL;
    SUSPEND;
END^

CREATE OR ALTER PROCEDURE CUSTOMER_LABEL (ID INTEGER) RETURNS (LABEL VARCHAR(200)) AS
BEGIN
    SELECT "Name" || ' <' || COALESCE(EMAIL, '-') || '>' FROM CUSTOMER WHERE ID = :ID INTO :LABEL;
    SUSPEND;
END^

SET TERM ; ^

COMMIT WORK;

/* Products ---------------------------------------------------------- */

INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (1, 'Widget 001', 338.72, 62.7931, '2023-02-17 16:12:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (2, 'Widget 002', 197.07, 79.7454, '2023-10-10 04:38:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (3, 'Widget 003', 130.91, 20.8357, '2023-05-11 03:49:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (4, 'Widget 004', 163.09, 24.8859, '2023-10-19 06:56:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (5, 'The "Big" one #5; really', 35.86, 16.2050, '2023-08-18 12:55:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (6, 'Widget 006', 366.87, 64.2450, '2023-01-14 03:37:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (7, 'Widget 007', 364.13, 60.4533, '2023-08-13 21:19:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (8, 'Widget 008', 285.58, 40.1846, '2023-11-06 13:14:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (9, 'Widget 009', 387.46, 46.1283, '2023-04-04 12:12:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (10, 'The "Big" one #10; really', 69.70, 50.1058, '2023-09-04 22:29:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (11, 'Widget 011', 3.97, 36.3605, '2023-10-16 03:33:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (12, 'Widget 012', 240.36, 40.0058, '2023-07-12 17:55:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (13, 'Widget 013', 92.16, 0.2303, '2023-01-03 14:24:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (14, 'Widget 014', 226.17, 54.0647, '2023-05-21 04:30:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (15, 'The "Big" one #15; really', 142.21, 32.2745, '2023-03-24 14:28:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (16, 'Widget 016', 150.94, 54.1899, '2023-02-02 06:19:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (17, 'Widget 017', 343.89, 60.1640, '2023-08-04 02:29:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (18, 'Widget 018', 253.15, 52.5164, '2023-03-01 13:41:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (19, 'Widget 019', 137.76, 6.8093, '2023-07-06 09:56:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (20, 'The "Big" one #20; really', 233.79, 8.9787, '2023-08-20 21:51:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (21, 'Widget 021', 34.45, 51.8800, '2023-03-21 00:56:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (22, 'Widget 022', 192.66, 52.2043, '2023-01-21 18:34:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (23, 'Widget 023', 294.63, 76.6775, '2023-05-07 16:20:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (24, 'Widget 024', 31.24, 61.9679, '2023-04-21 02:12:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (25, 'The "Big" one #25; really', 147.29, 37.2789, '2023-03-17 10:51:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (26, 'Widget 026', 256.62, 20.8967, '2023-12-23 23:19:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (27, 'Widget 027', 320.67, 54.5024, '2023-11-10 16:36:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (28, 'Widget 028', 214.91, 38.2769, '2023-04-02 04:02:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (29, 'Widget 029', 229.44, 74.4034, '2023-10-17 03:16:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (30, 'The "Big" one #30; really', 358.85, 55.6720, '2023-06-22 10:23:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (31, 'Widget 031', 93.95, 68.7999, '2023-12-11 03:40:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (32, 'Widget 032', 334.01, 42.3078, '2023-10-14 01:55:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (33, 'Widget 033', 181.24, 25.3607, '2023-08-12 18:46:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (34, 'Widget 034', 183.87, 23.6626, '2023-02-09 07:25:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (35, 'The "Big" one #35; really', 16.37, 13.6325, '2023-11-16 22:35:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (36, 'Widget 036', 53.88, 47.7189, '2023-01-03 18:27:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (37, 'Widget 037', 23.80, 54.6094, '2023-06-20 07:34:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (38, 'Widget 038', 365.46, 66.8584, '2023-04-09 04:15:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (39, 'Widget 039', 144.92, 47.1594, '2023-03-15 02:44:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (40, 'The "Big" one #40; really', 225.10, 43.7797, '2023-04-19 11:47:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (41, 'Widget 041', 392.75, 54.1468, '2023-03-09 11:29:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (42, 'Widget 042', 462.70, 17.6841, '2023-05-15 01:37:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (43, 'Widget 043', 424.73, 35.0544, '2023-10-07 02:31:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (44, 'Widget 044', 63.41, 41.6560, '2023-06-16 14:03:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (45, 'The "Big" one #45; really', 262.96, 2.1173, '2023-11-08 09:35:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (46, 'Widget 046', 122.25, 63.0447, '2023-11-14 04:44:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (47, 'Widget 047', 267.30, 12.4946, '2023-12-06 19:30:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (48, 'Widget 048', 43.45, 60.5326, '2023-10-15 02:36:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (49, 'Widget 049', 337.19, 76.9172, '2023-04-24 02:17:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (50, 'The "Big" one #50; really', 124.56, 13.1019, '2023-07-17 08:29:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (51, 'Widget 051', 211.92, 1.7404, '2023-03-04 13:51:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (52, 'Widget 052', 9.95, 48.7894, '2023-10-16 10:15:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (53, 'Widget 053', 154.67, 61.9231, '2023-05-18 00:07:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (54, 'Widget 054', 36.70, 53.3802, '2023-09-03 14:04:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (55, 'The "Big" one #55; really', 484.27, 7.4950, '2023-12-13 15:19:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (56, 'Widget 056', 186.55, 26.9342, '2023-02-05 19:03:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (57, 'Widget 057', 22.27, 74.2525, '2023-11-04 10:31:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (58, 'Widget 058', 176.33, 57.3312, '2023-02-15 17:40:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (59, 'Widget 059', 391.84, 16.7012, '2023-03-20 08:48:00');
INSERT INTO PRODUCT (ID, TITLE, PRICE, WEIGHT, ADDED) VALUES (60, 'The "Big" one #60; really', 287.62, 25.2182, '2023-09-07 15:51:00');

COMMIT;

-- Customers: IDs come from the trigger; don't give them here.
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo O''Neil', 'Cleo.ONeil.1@Example.ORG', '2002-04-22', 784.81, 0, 'Called on 2022-04-22; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Bauer', 'Frank.Bauer.2@Example.ORG', '1961-11-13', 222.87, 0, 'Called on 1981-11-13; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Ivanova', 'Cleo.Ivanova.3@Example.ORG', '1972-02-06', 847.82, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Okafor', 'Pia.Okafor.4@Example.ORG', '2004-07-07', 703.63, 0, 'Called on 2024-07-07; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Rossi', 'Cleo.Rossi.5@Example.ORG', '1995-06-20', 248.05, 0, 'Called on 2015-06-20; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Okafor', 'Kai.Okafor.6@Example.ORG', '1959-11-22', 776.19, 0, 'Called on 1979-11-22; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela O''Neil', 'Gisela.ONeil.7@Example.ORG', '1980-02-29', 402.98, 0, 'Called on 2000-02-29; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Nguyen', 'Nora.Nguyen.8@Example.ORG', '1963-12-23', 703.01, 0, 'Called on 1983-12-23; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Kowalski', 'Cleo.Kowalski.9@Example.ORG', '2004-01-28', 745.47, 1, 'Called on 2024-01-28; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Rossi', 'Olaf.Rossi.10@Example.ORG', '1972-09-22', 737.47, 0, 'Line one of note 10;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ines Nguyen', 'Ines.Nguyen.11@Example.ORG', '1989-10-11', 123.35, 0, 'Called on 2009-10-11; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Bauer', 'Pia.Bauer.12@Example.ORG', '1990-03-02', 919.97, 0, 'Called on 2010-03-02; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Mo Rossi', 'Mo.Rossi.13@Example.ORG', '1967-04-26', 125.17, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Lee', 'Cleo.Lee.14@Example.ORG', '1958-08-13', 484.09, 0, 'Called on 1978-08-13; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Dmitri Okafor', 'Dmitri.Okafor.15@Example.ORG', '2001-01-05', 719.13, 0, 'Called on 2021-01-05; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ann Nguyen', 'Ann.Nguyen.16@Example.ORG', '1960-06-16', 574.42, 0, 'Called on 1980-06-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Da Silva', 'Eve.DaSilva.17@Example.ORG', NULL, 430.72, 0, 'Called on 1976-05-27; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Jon Okafor', 'Jon.Okafor.18@Example.ORG', '2002-07-10', 806.69, 1, 'Called on 2022-07-10; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Mo Kowalski', 'Mo.Kowalski.19@Example.ORG', '1942-04-18', 979.97, 0, 'Called on 1962-04-18; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Lee', 'Gisela.Lee.20@Example.ORG', '1961-04-01', 173.25, 0, 'Line one of note 20;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Bob Da Silva', 'Bob.DaSilva.21@Example.ORG', '1949-06-17', 950.54, 0, 'Called on 1969-06-17; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Nguyen', 'Kai.Nguyen.22@Example.ORG', '1987-09-13', 532.61, 0, 'Called on 2007-09-13; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Nguyen', 'Olaf.Nguyen.23@Example.ORG', '1948-02-25', 767.03, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Lena Lee', 'Lena.Lee.24@Example.ORG', '1959-04-10', 198.32, 0, 'Called on 1979-04-10; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Lena Da Silva', 'Lena.DaSilva.25@Example.ORG', '1988-08-11', 237.96, 0, 'Called on 2008-08-11; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Lee', 'Kai.Lee.26@Example.ORG', '2004-01-14', 605.56, 0, 'Called on 2024-01-14; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ines Okafor', 'Ines.Okafor.27@Example.ORG', '1950-08-03', 422.05, 1, 'Called on 1970-08-03; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia O''Neil', 'Pia.ONeil.28@Example.ORG', '1957-10-19', 278.81, 0, 'Called on 1977-10-19; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Lena Bauer', 'Lena.Bauer.29@Example.ORG', '1991-08-27', 345.38, 0, 'Called on 2011-08-27; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Bauer', 'Kai.Bauer.30@Example.ORG', '1971-08-27', 869.76, 0, 'Line one of note 30;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ann Bauer', 'Ann.Bauer.31@Example.ORG', '1999-10-07', 414.60, 0, 'Called on 2019-10-07; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ines Rossi', 'Ines.Rossi.32@Example.ORG', '1979-01-12', 567.97, 0, 'Called on 1999-01-12; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Lee', 'Eve.Lee.33@Example.ORG', '1957-11-06', 736.00, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Dmitri Nguyen', 'Dmitri.Nguyen.34@Example.ORG', NULL, 333.10, 0, 'Called on 1964-05-12; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Jon Da Silva', 'Jon.DaSilva.35@Example.ORG', '1973-11-05', 725.78, 0, 'Called on 1993-11-05; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Lee', 'Cleo.Lee.36@Example.ORG', '2004-06-26', 11.14, 1, 'Called on 2024-06-26; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Da Silva', 'Nora.DaSilva.37@Example.ORG', '1976-08-06', 619.91, 0, 'Called on 1996-08-06; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Ivanova', 'Olaf.Ivanova.38@Example.ORG', '1983-08-10', 74.94, 0, 'Called on 2003-08-10; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Lee', 'Hamid.Lee.39@Example.ORG', '1955-06-15', 90.43, 0, 'Called on 1975-06-15; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Nguyen', 'Hamid.Nguyen.40@Example.ORG', '1998-12-20', 195.93, 0, 'Line one of note 40;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Dmitri Da Silva', 'Dmitri.DaSilva.41@Example.ORG', '1995-07-22', 996.46, 0, 'Called on 2015-07-22; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Rossi', 'Nora.Rossi.42@Example.ORG', '1961-02-04', 446.25, 0, 'Called on 1981-02-04; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Dmitri Ivanova', 'Dmitri.Ivanova.43@Example.ORG', '1983-09-05', 888.73, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Rossi', 'Eve.Rossi.44@Example.ORG', '1989-09-16', 391.12, 0, 'Called on 2009-09-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Ivanova', 'Kai.Ivanova.45@Example.ORG', '1959-08-16', 649.54, 1, 'Called on 1979-08-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ann Okafor', 'Ann.Okafor.46@Example.ORG', '1954-10-27', 852.97, 0, 'Called on 1974-10-27; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Kowalski', 'Eve.Kowalski.47@Example.ORG', '1992-09-02', 695.14, 0, 'Called on 2012-09-02; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Okafor', 'Cleo.Okafor.48@Example.ORG', '1950-09-07', 412.85, 0, 'Called on 1970-09-07; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Rossi', 'Kai.Rossi.49@Example.ORG', '1984-03-14', 314.99, 0, 'Called on 2004-03-14; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Bauer', 'Gisela.Bauer.50@Example.ORG', '1991-09-15', 234.08, 0, 'Line one of note 50;
line two -- not a comment
/* nor this */ line three');
COMMIT;
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Nguyen', 'Pia.Nguyen.51@Example.ORG', NULL, 613.50, 0, 'Called on 1969-08-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Nguyen', 'Hamid.Nguyen.52@Example.ORG', '1953-11-01', 640.62, 0, 'Called on 1973-11-01; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Okafor', 'Hamid.Okafor.53@Example.ORG', '1959-11-12', 471.12, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Lena O''Neil', 'Lena.ONeil.54@Example.ORG', '1996-05-06', 632.70, 1, 'Called on 2016-05-06; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Nguyen', 'Kai.Nguyen.55@Example.ORG', '1964-05-04', 297.05, 0, 'Called on 1984-05-04; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Nguyen', 'Olaf.Nguyen.56@Example.ORG', '1994-06-12', 410.68, 0, 'Called on 2014-06-12; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Okafor', 'Eve.Okafor.57@Example.ORG', '1955-10-16', 291.41, 0, 'Called on 1975-10-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Lee', 'Pia.Lee.58@Example.ORG', '1942-03-19', 253.31, 0, 'Called on 1962-03-19; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Kowalski', 'Cleo.Kowalski.59@Example.ORG', '1990-07-01', 469.97, 0, 'Called on 2010-07-01; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Smith', 'Frank.Smith.60@Example.ORG', '1946-06-22', 287.49, 0, 'Line one of note 60;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Kowalski', 'Pia.Kowalski.61@Example.ORG', '1986-09-28', 134.42, 0, 'Called on 2006-09-28; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Jon Ivanova', 'Jon.Ivanova.62@Example.ORG', '1983-02-28', 922.42, 0, 'Called on 2003-02-28; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ann Nguyen', 'Ann.Nguyen.63@Example.ORG', '1974-06-04', 137.83, 1, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Da Silva', 'Kai.DaSilva.64@Example.ORG', '1957-02-09', 981.40, 0, 'Called on 1977-02-09; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Da Silva', 'Gisela.DaSilva.65@Example.ORG', '1954-09-04', 722.44, 0, 'Called on 1974-09-04; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Da Silva', 'Pia.DaSilva.66@Example.ORG', '1951-09-16', 5.18, 0, 'Called on 1971-09-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia O''Neil', 'Pia.ONeil.67@Example.ORG', '1941-10-10', 145.09, 0, 'Called on 1961-10-10; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Rossi', 'Gisela.Rossi.68@Example.ORG', NULL, 901.59, 0, 'Called on 1998-07-26; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Smith', 'Pia.Smith.69@Example.ORG', '1946-12-07', 20.11, 0, 'Called on 1966-12-07; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Okafor', 'Gisela.Okafor.70@Example.ORG', '1958-05-10', 583.21, 0, 'Line one of note 70;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Lena Okafor', 'Lena.Okafor.71@Example.ORG', '1977-06-09', 273.90, 0, 'Called on 1997-06-09; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Kowalski', 'Cleo.Kowalski.72@Example.ORG', '1999-07-23', 185.53, 1, 'Called on 2019-07-23; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Ivanova', 'Cleo.Ivanova.73@Example.ORG', '1992-11-07', 574.25, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Smith', 'Pia.Smith.74@Example.ORG', '1986-01-14', 503.77, 0, 'Called on 2006-01-14; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Rossi', 'Eve.Rossi.75@Example.ORG', '1978-03-04', 429.35, 0, 'Called on 1998-03-04; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Okafor', 'Eve.Okafor.76@Example.ORG', '1976-08-05', 998.09, 0, 'Called on 1996-08-05; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Bauer', 'Eve.Bauer.77@Example.ORG', '1965-07-16', 436.95, 0, 'Called on 1985-07-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Da Silva', 'Pia.DaSilva.78@Example.ORG', '1979-11-12', 306.74, 0, 'Called on 1999-11-12; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Kowalski', 'Hamid.Kowalski.79@Example.ORG', '1969-11-08', 437.28, 0, 'Called on 1989-11-08; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Lee', 'Frank.Lee.80@Example.ORG', '1987-06-13', 767.87, 0, 'Line one of note 80;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Ivanova', 'Nora.Ivanova.81@Example.ORG', '1953-11-28', 389.10, 1, 'Called on 1973-11-28; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Da Silva', 'Eve.DaSilva.82@Example.ORG', '1980-06-06', 303.65, 0, 'Called on 2000-06-06; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Dmitri Rossi', 'Dmitri.Rossi.83@Example.ORG', '1966-04-18', 569.82, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Rossi', 'Nora.Rossi.84@Example.ORG', '1966-10-23', 423.89, 0, 'Called on 1986-10-23; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Bob Rossi', 'Bob.Rossi.85@Example.ORG', NULL, 424.82, 0, 'Called on 1965-12-21; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Lena Da Silva', 'Lena.DaSilva.86@Example.ORG', '1976-04-16', 219.57, 0, 'Called on 1996-04-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Lee', 'Eve.Lee.87@Example.ORG', '1940-12-15', 317.96, 0, 'Called on 1960-12-15; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Bauer', 'Kai.Bauer.88@Example.ORG', '1977-12-13', 959.58, 0, 'Called on 1997-12-13; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Lena Rossi', 'Lena.Rossi.89@Example.ORG', '1957-07-14', 354.38, 0, 'Called on 1977-07-14; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ann Da Silva', 'Ann.DaSilva.90@Example.ORG', '1974-09-19', 150.49, 1, 'Line one of note 90;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Smith', 'Cleo.Smith.91@Example.ORG', '1965-01-18', 708.87, 0, 'Called on 1985-01-18; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Okafor', 'Olaf.Okafor.92@Example.ORG', '1983-07-21', 819.74, 0, 'Called on 2003-07-21; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Ivanova', 'Frank.Ivanova.93@Example.ORG', '1984-03-06', 356.33, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Rossi', 'Nora.Rossi.94@Example.ORG', '1953-06-17', 94.31, 0, 'Called on 1973-06-17; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Smith', 'Hamid.Smith.95@Example.ORG', '1942-08-27', 632.77, 0, 'Called on 1962-08-27; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Nguyen', 'Gisela.Nguyen.96@Example.ORG', '1962-08-06', 581.98, 0, 'Called on 1982-08-06; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Rossi', 'Frank.Rossi.97@Example.ORG', '1988-12-18', 465.01, 0, 'Called on 2008-12-18; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Kowalski', 'Gisela.Kowalski.98@Example.ORG', '1997-04-06', 851.54, 0, 'Called on 2017-04-06; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Bauer', 'Gisela.Bauer.99@Example.ORG', '1979-08-01', 354.37, 1, 'Called on 1999-08-01; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Nguyen', 'Eve.Nguyen.100@Example.ORG', '1975-02-22', 193.54, 0, 'Line one of note 100;
line two -- not a comment
/* nor this */ line three');
COMMIT;
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Jon Kowalski', 'Jon.Kowalski.101@Example.ORG', '2005-06-16', 683.81, 0, 'Called on 2025-06-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Okafor', 'Hamid.Okafor.102@Example.ORG', NULL, 264.63, 0, 'Called on 2010-09-19; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Okafor', 'Hamid.Okafor.103@Example.ORG', '1990-03-08', 920.83, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Bauer', 'Frank.Bauer.104@Example.ORG', '1967-05-25', 894.29, 0, 'Called on 1987-05-25; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Da Silva', 'Eve.DaSilva.105@Example.ORG', '1958-06-22', 396.46, 0, 'Called on 1978-06-22; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Okafor', 'Cleo.Okafor.106@Example.ORG', '1982-08-15', 231.60, 0, 'Called on 2002-08-15; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Okafor', 'Frank.Okafor.107@Example.ORG', '1973-04-03', 569.43, 0, 'Called on 1993-04-03; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Ivanova', 'Gisela.Ivanova.108@Example.ORG', '1971-11-25', 693.79, 1, 'Called on 1991-11-25; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Mo O''Neil', 'Mo.ONeil.109@Example.ORG', '1941-02-16', 232.33, 0, 'Called on 1961-02-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Jon Kowalski', 'Jon.Kowalski.110@Example.ORG', '1978-01-05', 337.82, 0, 'Line one of note 110;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Smith', 'Nora.Smith.111@Example.ORG', '1958-12-14', 565.47, 0, 'Called on 1978-12-14; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Okafor', 'Kai.Okafor.112@Example.ORG', '1987-09-04', 19.23, 0, 'Called on 2007-09-04; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Da Silva', 'Pia.DaSilva.113@Example.ORG', '1959-05-08', 463.00, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Jon Nguyen', 'Jon.Nguyen.114@Example.ORG', '1992-08-04', 600.50, 0, 'Called on 2012-08-04; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Bauer', 'Frank.Bauer.115@Example.ORG', '1943-09-27', 295.27, 0, 'Called on 1963-09-27; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ines Ivanova', 'Ines.Ivanova.116@Example.ORG', '1993-02-01', 592.17, 0, 'Called on 2013-02-01; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Nguyen', 'Olaf.Nguyen.117@Example.ORG', '1988-02-03', 349.72, 1, 'Called on 2008-02-03; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Nguyen', 'Frank.Nguyen.118@Example.ORG', '1948-08-28', 93.02, 0, 'Called on 1968-08-28; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Da Silva', 'Kai.DaSilva.119@Example.ORG', NULL, 974.52, 0, 'Called on 2016-12-26; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Lee', 'Hamid.Lee.120@Example.ORG', '1960-10-25', 595.59, 0, 'Line one of note 120;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Ivanova', 'Gisela.Ivanova.121@Example.ORG', '1942-05-23', 856.78, 0, 'Called on 1962-05-23; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Lee', 'Eve.Lee.122@Example.ORG', '1959-04-21', 642.22, 0, 'Called on 1979-04-21; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Da Silva', 'Olaf.DaSilva.123@Example.ORG', '1978-07-19', 270.68, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Nguyen', 'Frank.Nguyen.124@Example.ORG', '1988-09-11', 936.41, 0, 'Called on 2008-09-11; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Smith', 'Nora.Smith.125@Example.ORG', '1983-10-27', 771.89, 0, 'Called on 2003-10-27; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Nguyen', 'Kai.Nguyen.126@Example.ORG', '1990-08-05', 170.04, 1, 'Called on 2010-08-05; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia O''Neil', 'Pia.ONeil.127@Example.ORG', '1993-02-17', 968.83, 0, 'Called on 2013-02-17; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Bob Okafor', 'Bob.Okafor.128@Example.ORG', '1974-01-12', 666.22, 0, 'Called on 1994-01-12; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ann Da Silva', 'Ann.DaSilva.129@Example.ORG', '1954-01-09', 447.63, 0, 'Called on 1974-01-09; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Nguyen', 'Olaf.Nguyen.130@Example.ORG', '1987-03-10', 588.26, 0, 'Line one of note 130;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Rossi', 'Olaf.Rossi.131@Example.ORG', '1982-11-23', 318.03, 0, 'Called on 2002-11-23; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Lee', 'Kai.Lee.132@Example.ORG', '1956-12-16', 158.27, 0, 'Called on 1976-12-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Okafor', 'Kai.Okafor.133@Example.ORG', '1977-12-08', 21.39, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Lena Okafor', 'Lena.Okafor.134@Example.ORG', '1942-07-16', 69.43, 0, 'Called on 1962-07-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Jon O''Neil', 'Jon.ONeil.135@Example.ORG', '1993-08-12', 212.21, 1, 'Called on 2013-08-12; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Kowalski', 'Eve.Kowalski.136@Example.ORG', NULL, 796.80, 0, 'Called on 1990-05-11; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve O''Neil', 'Eve.ONeil.137@Example.ORG', '1940-08-16', 9.86, 0, 'Called on 1960-08-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Rossi', 'Olaf.Rossi.138@Example.ORG', '1951-01-11', 925.51, 0, 'Called on 1971-01-11; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Bob Lee', 'Bob.Lee.139@Example.ORG', '1945-07-19', 866.81, 0, 'Called on 1965-07-19; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Rossi', 'Hamid.Rossi.140@Example.ORG', '1993-02-23', 261.32, 0, 'Line one of note 140;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Da Silva', 'Frank.DaSilva.141@Example.ORG', '1975-12-06', 948.29, 0, 'Called on 1995-12-06; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Bauer', 'Gisela.Bauer.142@Example.ORG', '1969-07-04', 346.36, 0, 'Called on 1989-07-04; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Ivanova', 'Olaf.Ivanova.143@Example.ORG', '1960-07-21', 696.22, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Okafor', 'Hamid.Okafor.144@Example.ORG', '2000-08-09', 594.59, 1, 'Called on 2020-08-09; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Bauer', 'Eve.Bauer.145@Example.ORG', '1968-05-10', 706.08, 0, 'Called on 1988-05-10; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Bauer', 'Frank.Bauer.146@Example.ORG', '1994-06-23', 165.34, 0, 'Called on 2014-06-23; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Okafor', 'Eve.Okafor.147@Example.ORG', '1965-07-25', 940.78, 0, 'Called on 1985-07-25; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Okafor', 'Kai.Okafor.148@Example.ORG', '1989-05-13', 448.01, 0, 'Called on 2009-05-13; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Nguyen', 'Hamid.Nguyen.149@Example.ORG', '1987-07-25', 751.04, 0, 'Called on 2007-07-25; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora O''Neil', 'Nora.ONeil.150@Example.ORG', '1995-02-20', 687.64, 0, 'Line one of note 150;
line two -- not a comment
/* nor this */ line three');
COMMIT;
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Smith', 'Cleo.Smith.151@Example.ORG', '1958-06-21', 182.88, 0, 'Called on 1978-06-21; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Nguyen', 'Cleo.Nguyen.152@Example.ORG', '1981-12-04', 16.98, 0, 'Called on 2001-12-04; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Okafor', 'Pia.Okafor.153@Example.ORG', NULL, 951.44, 1, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Kowalski', 'Frank.Kowalski.154@Example.ORG', '1947-08-07', 916.61, 0, 'Called on 1967-08-07; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ines Lee', 'Ines.Lee.155@Example.ORG', '1987-10-09', 987.41, 0, 'Called on 2007-10-09; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Jon O''Neil', 'Jon.ONeil.156@Example.ORG', '1993-11-21', 254.78, 0, 'Called on 2013-11-21; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Jon Smith', 'Jon.Smith.157@Example.ORG', '2005-05-22', 371.12, 0, 'Called on 2025-05-22; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Dmitri Kowalski', 'Dmitri.Kowalski.158@Example.ORG', '1998-04-19', 407.03, 0, 'Called on 2018-04-19; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Da Silva', 'Nora.DaSilva.159@Example.ORG', '1978-12-20', 924.00, 0, 'Called on 1998-12-20; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Kowalski', 'Nora.Kowalski.160@Example.ORG', '1962-01-21', 160.61, 0, 'Line one of note 160;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ann Ivanova', 'Ann.Ivanova.161@Example.ORG', '1957-06-03', 582.66, 0, 'Called on 1977-06-03; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Dmitri Nguyen', 'Dmitri.Nguyen.162@Example.ORG', '1967-12-05', 811.33, 1, 'Called on 1987-12-05; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Bob Lee', 'Bob.Lee.163@Example.ORG', '1974-12-05', 171.88, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Lena Kowalski', 'Lena.Kowalski.164@Example.ORG', '1955-02-04', 656.55, 0, 'Called on 1975-02-04; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Da Silva', 'Olaf.DaSilva.165@Example.ORG', '1980-04-25', 445.14, 0, 'Called on 2000-04-25; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Mo Okafor', 'Mo.Okafor.166@Example.ORG', '1992-05-14', 743.66, 0, 'Called on 2012-05-14; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Kowalski', 'Eve.Kowalski.167@Example.ORG', '1976-02-23', 860.06, 0, 'Called on 1996-02-23; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Bauer', 'Pia.Bauer.168@Example.ORG', '2000-12-04', 986.84, 0, 'Called on 2020-12-04; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Rossi', 'Nora.Rossi.169@Example.ORG', '1943-07-14', 647.48, 0, 'Called on 1963-07-14; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Okafor', 'Gisela.Okafor.170@Example.ORG', NULL, 982.76, 0, 'Line one of note 170;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Lee', 'Frank.Lee.171@Example.ORG', '1945-09-15', 850.31, 1, 'Called on 1965-09-15; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ines Bauer', 'Ines.Bauer.172@Example.ORG', '1958-04-04', 740.19, 0, 'Called on 1978-04-04; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia O''Neil', 'Pia.ONeil.173@Example.ORG', '2001-09-10', 240.22, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela O''Neil', 'Gisela.ONeil.174@Example.ORG', '1978-10-16', 881.55, 0, 'Called on 1998-10-16; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Jon Ivanova', 'Jon.Ivanova.175@Example.ORG', '1968-04-17', 401.05, 0, 'Called on 1988-04-17; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Okafor', 'Nora.Okafor.176@Example.ORG', '1994-11-14', 168.06, 0, 'Called on 2014-11-14; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Bob O''Neil', 'Bob.ONeil.177@Example.ORG', '1973-12-15', 173.72, 0, 'Called on 1993-12-15; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Rossi', 'Hamid.Rossi.178@Example.ORG', '1962-02-24', 546.64, 0, 'Called on 1982-02-24; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Bauer', 'Hamid.Bauer.179@Example.ORG', '1995-01-03', 567.59, 0, 'Called on 2015-01-03; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Bauer', 'Nora.Bauer.180@Example.ORG', '1957-07-18', 319.67, 1, 'Line one of note 180;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Bob Rossi', 'Bob.Rossi.181@Example.ORG', '1973-04-02', 406.36, 0, 'Called on 1993-04-02; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ines Rossi', 'Ines.Rossi.182@Example.ORG', '2004-12-07', 285.40, 0, 'Called on 2024-12-07; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Nguyen', 'Nora.Nguyen.183@Example.ORG', '1995-03-07', 374.99, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Nguyen', 'Pia.Nguyen.184@Example.ORG', '1994-11-12', 326.36, 0, 'Called on 2014-11-12; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Okafor', 'Nora.Okafor.185@Example.ORG', '1960-02-02', 168.84, 0, 'Called on 1980-02-02; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ann Rossi', 'Ann.Rossi.186@Example.ORG', '1981-07-25', 933.57, 0, 'Called on 2001-07-25; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Lee', 'Nora.Lee.187@Example.ORG', NULL, 958.62, 0, 'Called on 1992-01-15; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Da Silva', 'Eve.DaSilva.188@Example.ORG', '1994-10-25', 749.96, 0, 'Called on 2014-10-25; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Ivanova', 'Hamid.Ivanova.189@Example.ORG', '1943-01-05', 630.29, 1, 'Called on 1963-01-05; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Jon O''Neil', 'Jon.ONeil.190@Example.ORG', '1955-05-19', 763.13, 0, 'Line one of note 190;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Lee', 'Hamid.Lee.191@Example.ORG', '1953-05-19', 889.57, 0, 'Called on 1973-05-19; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Ivanova', 'Cleo.Ivanova.192@Example.ORG', '1989-05-02', 886.74, 0, 'Called on 2009-05-02; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Hamid Da Silva', 'Hamid.DaSilva.193@Example.ORG', '1942-06-19', 365.83, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Jon O''Neil', 'Jon.ONeil.194@Example.ORG', '1965-08-24', 564.87, 0, 'Called on 1985-08-24; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Rossi', 'Cleo.Rossi.195@Example.ORG', '1941-01-28', 359.01, 0, 'Called on 1961-01-28; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Kowalski', 'Frank.Kowalski.196@Example.ORG', '1990-08-11', 164.65, 0, 'Called on 2010-08-11; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ann Da Silva', 'Ann.DaSilva.197@Example.ORG', '1997-01-11', 346.05, 0, 'Called on 2017-01-11; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Da Silva', 'Frank.DaSilva.198@Example.ORG', '1968-08-10', 15.58, 1, 'Called on 1988-08-10; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Bauer', 'Kai.Bauer.199@Example.ORG', '1944-10-22', 137.42, 0, 'Called on 1964-10-22; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Mo Bauer', 'Mo.Bauer.200@Example.ORG', '1986-11-17', 193.85, 0, 'Line one of note 200;
line two -- not a comment
/* nor this */ line three');
COMMIT;
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Nora Rossi', 'Nora.Rossi.201@Example.ORG', '1992-12-07', 552.03, 0, 'Called on 2012-12-07; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Nguyen', 'Olaf.Nguyen.202@Example.ORG', '1978-08-17', 922.33, 0, 'Called on 1998-08-17; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Mo Nguyen', 'Mo.Nguyen.203@Example.ORG', '2000-07-02', 925.93, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Nguyen', 'Olaf.Nguyen.204@Example.ORG', NULL, 977.61, 0, 'Called on 1996-04-01; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ines Rossi', 'Ines.Rossi.205@Example.ORG', '1949-12-13', 723.96, 0, 'Called on 1969-12-13; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Bob Rossi', 'Bob.Rossi.206@Example.ORG', '1962-03-02', 475.57, 0, 'Called on 1982-03-02; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela Da Silva', 'Gisela.DaSilva.207@Example.ORG', '1984-07-28', 74.99, 1, 'Called on 2004-07-28; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ines Kowalski', 'Ines.Kowalski.208@Example.ORG', '1979-08-10', 488.90, 0, 'Called on 1999-08-10; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Mo Kowalski', 'Mo.Kowalski.209@Example.ORG', '1945-03-17', 530.56, 0, 'Called on 1965-03-17; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Gisela O''Neil', 'Gisela.ONeil.210@Example.ORG', '1943-10-03', 253.84, 0, 'Line one of note 210;
line two -- not a comment
/* nor this */ line three');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Bauer', 'Kai.Bauer.211@Example.ORG', '1944-11-25', 836.05, 0, 'Called on 1964-11-25; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ines Nguyen', 'Ines.Nguyen.212@Example.ORG', '1949-02-15', 69.54, 0, 'Called on 1969-02-15; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Kai Smith', 'Kai.Smith.213@Example.ORG', '2005-06-24', 565.99, 0, NULL);
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ann Kowalski', 'Ann.Kowalski.214@Example.ORG', '1946-06-11', 597.65, 0, 'Called on 1966-06-11; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Olaf Smith', 'Olaf.Smith.215@Example.ORG', '1951-08-14', 192.77, 0, 'Called on 1971-08-14; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Eve Smith', 'Eve.Smith.216@Example.ORG', '1977-12-28', 639.93, 1, 'Called on 1997-12-28; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Cleo Nguyen', 'Cleo.Nguyen.217@Example.ORG', '1959-08-14', 782.04, 0, 'Called on 1979-08-14; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Pia Nguyen', 'Pia.Nguyen.218@Example.ORG', '1988-02-07', 303.27, 0, 'Called on 2008-02-07; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Ines Bauer', 'Ines.Bauer.219@Example.ORG', '1967-08-03', 165.16, 0, 'Called on 1987-08-03; said it''s fine');
INSERT INTO CUSTOMER ("Name", EMAIL, BORN, CREDIT, VIP, NOTE)
    VALUES ('Frank Nguyen', 'Frank.Nguyen.220@Example.ORG', '1961-05-05', 224.77, 0, 'Line one of note 220;
line two -- not a comment
/* nor this */ line three');

COMMIT;

/* A change that is taken back */
UPDATE PRODUCT SET PRICE = PRICE * 100;
DELETE FROM CUSTOMER WHERE VIP = 1;
ROLLBACK;

/* Orders, placed by a block */
SET TERM !! ;
EXECUTE BLOCK AS
    DECLARE VARIABLE I INTEGER = 1;
    DECLARE VARIABLE O INTEGER;
    DECLARE VARIABLE T NUMERIC(12,2);
BEGIN
    WHILE (I <= 80) DO
    BEGIN
        SELECT ORDER_ID, TOTAL FROM PLACE_ORDER(MOD(:I * 7, 220) + 1, MOD(:I, 60) + 1, MOD(:I, 8) + 1,
                                          DATEADD(:I HOUR TO TIMESTAMP '2024-01-01 08:30:00'))
            INTO :O, :T;
        I = I + 1;
    END
END!!
SET TERM ; !!

UPDATE CUSTOMER SET CREDIT = CREDIT - 1 WHERE ID IN (SELECT CUSTOMER_ID FROM "Order") AND CREDIT >= 1;
DELETE FROM "Audit log" WHERE ENTRY > 1070;
ALTER TABLE CUSTOMER ADD CITY VARCHAR(40) DEFAULT 'Nowhere';
COMMIT;
UPDATE CUSTOMER SET CITY = 'Ghent' WHERE MOD(ID, 3) = 0;

SELECT "Name", SPENT FROM V_CUSTOMER_TOTAL WHERE ORDERS > 0 ORDER BY SPENT DESC ROWS 5;

COMMIT;
-- done
