-- Shop: a small sales database, kept the way PostgreSQL scripts are kept.
-- Run it with psql on an empty database:  psql -v ON_ERROR_STOP=1 -f postgresql-shop.sql DB
/* Functions in dollar quotes and in the SQL standard's BEGIN ATOMIC,
   a DO block, E'' strings with backslash escapes; comments hold ; and ' */

CREATE TABLE customer (
    id      serial PRIMARY KEY,
    "Name"  text NOT NULL,
    email   text UNIQUE,
    born    date,
    credit  numeric(12,2) NOT NULL DEFAULT 0 CHECK (credit >= 0),
    note    text
);

CREATE TABLE product (
    id      integer PRIMARY KEY,
    title   text NOT NULL UNIQUE,
    price   numeric(10,2) NOT NULL CHECK (price > 0),
    weight  numeric(18,4),
    added   timestamp
);

CREATE TABLE "Order" (
    id          integer PRIMARY KEY,
    customer_id integer NOT NULL REFERENCES customer (id) ON DELETE CASCADE,
    placed      timestamp NOT NULL,
    total       numeric(12,2) NOT NULL DEFAULT 0
);

CREATE TABLE order_line (
    order_id   integer REFERENCES "Order" (id) ON DELETE CASCADE,
    line_no    smallint,
    product_id integer NOT NULL REFERENCES product (id),
    qty        integer NOT NULL CHECK (qty > 0),
    price      numeric(10,2) NOT NULL,
    PRIMARY KEY (order_id, line_no)
);

CREATE SEQUENCE order_id START 1000;
CREATE TABLE "Audit log" (entry bigint NOT NULL, "What" text);
CREATE INDEX customer_born ON customer (born);

CREATE VIEW customer_total AS
    SELECT c.id AS customer_id, c."Name", count(o.id) AS orders, coalesce(sum(o.total), 0) AS spent
    FROM customer c LEFT JOIN "Order" o ON o.customer_id = c.id
    GROUP BY c.id, c."Name";

COMMENT ON TABLE customer IS E'People who buy;\nthe "Name" is as they wrote it, it\'s theirs';

-- A trigger function in dollar quotes; its body holds ; and $ signs.
CREATE FUNCTION order_line_added() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    UPDATE "Order" SET total = total + NEW.qty * NEW.price WHERE id = NEW.order_id;
    INSERT INTO "Audit log" VALUES (currval('order_id'),
        format('line %s of order %s; cost $%s', NEW.line_no, NEW.order_id, NEW.qty * NEW.price));
    RETURN NEW;
END;
$$;

CREATE TRIGGER order_line_added AFTER INSERT ON order_line
    FOR EACH ROW EXECUTE FUNCTION order_line_added();

CREATE FUNCTION lower_email() RETURNS trigger LANGUAGE plpgsql AS $body$
BEGIN
    NEW.email := lower(NEW.email); -- addresses are kept in lower case; $$ is text here
    RETURN NEW;
END
$body$;

CREATE TRIGGER customer_email BEFORE INSERT OR UPDATE ON customer
    FOR EACH ROW EXECUTE FUNCTION lower_email();

-- SQL-standard bodies: the ; inside end their statements, not the function.
CREATE FUNCTION customer_label(c_id integer) RETURNS text LANGUAGE sql
BEGIN ATOMIC
    SELECT c."Name" || E' <' || coalesce(c.email, '-') || E'>\t;'
    FROM customer c WHERE c.id = c_id;
END;

CREATE PROCEDURE place_order(cust integer, prod integer, quantity integer, at timestamp)
LANGUAGE sql
BEGIN ATOMIC
    INSERT INTO "Order" (id, customer_id, placed) VALUES (nextval('order_id'), cust, at);
    INSERT INTO order_line (order_id, line_no, product_id, qty, price)
        SELECT currval('order_id'), n, prod, CASE WHEN quantity - (n - 1) * 3 > 3 THEN 3
                                               ELSE quantity - (n - 1) * 3 END, p.price
        FROM product p, generate_series(1, (quantity + 2) / 3) AS n
        WHERE p.id = prod;
END;

-- Products

INSERT INTO product VALUES (1, 'Widget 001', 482.64, 0.9334, '2023-01-24 05:00:00');
INSERT INTO product VALUES (2, 'Widget 002', 456.55, 19.1168, '2023-11-02 04:00:00');
INSERT INTO product VALUES (3, 'Widget 003', 428.74, 79.9853, '2023-02-08 10:00:00');
INSERT INTO product VALUES (4, 'Widget 004', 233.43, 28.4598, '2023-05-13 11:00:00');
INSERT INTO product VALUES (5, E'The "Big" one #5;\\ it\'s big', 114.69, 68.6271, '2023-06-28 10:00:00');
INSERT INTO product VALUES (6, 'Widget 006', 112.08, 73.9871, '2023-07-17 07:00:00');
INSERT INTO product VALUES (7, 'Widget 007', 288.79, 67.2543, '2023-02-16 14:00:00');
INSERT INTO product VALUES (8, 'Widget 008', 282.56, 28.7978, '2023-06-19 22:00:00');
INSERT INTO product VALUES (9, 'Widget 009', 322.96, 32.4086, '2023-02-28 15:00:00');
INSERT INTO product VALUES (10, E'The "Big" one #10;\\ it\'s big', 479.63, 67.1053, '2023-03-07 17:00:00');
INSERT INTO product VALUES (11, 'Widget 011', 86.51, 75.0452, '2023-12-23 00:00:00');
INSERT INTO product VALUES (12, 'Widget 012', 143.67, 39.5993, '2023-02-28 03:00:00');
INSERT INTO product VALUES (13, 'Widget 013', 197.99, 5.8880, '2023-09-24 09:00:00');
INSERT INTO product VALUES (14, 'Widget 014', 201.03, 40.1650, '2023-09-06 16:00:00');
INSERT INTO product VALUES (15, E'The "Big" one #15;\\ it\'s big', 177.22, 18.8216, '2023-03-10 20:00:00');
INSERT INTO product VALUES (16, 'Widget 016', 159.47, 72.3846, '2023-08-11 02:00:00');
INSERT INTO product VALUES (17, 'Widget 017', 378.74, 67.0152, '2023-08-09 04:00:00');
INSERT INTO product VALUES (18, 'Widget 018', 58.14, 39.3991, '2023-01-13 08:00:00');
INSERT INTO product VALUES (19, 'Widget 019', 464.03, 59.2888, '2023-02-10 01:00:00');
INSERT INTO product VALUES (20, E'The "Big" one #20;\\ it\'s big', 225.61, 4.7538, '2023-03-09 15:00:00');
INSERT INTO product VALUES (21, 'Widget 021', 282.73, 69.7994, '2023-01-16 16:00:00');
INSERT INTO product VALUES (22, 'Widget 022', 31.32, 67.5000, '2023-08-19 07:00:00');
INSERT INTO product VALUES (23, 'Widget 023', 388.99, 47.4676, '2023-12-23 08:00:00');
INSERT INTO product VALUES (24, 'Widget 024', 339.29, 48.8647, '2023-06-02 20:00:00');
INSERT INTO product VALUES (25, E'The "Big" one #25;\\ it\'s big', 417.73, 34.6905, '2023-10-02 22:00:00');
INSERT INTO product VALUES (26, 'Widget 026', 151.51, 35.6512, '2023-01-18 13:00:00');
INSERT INTO product VALUES (27, 'Widget 027', 446.80, 71.4064, '2023-11-01 11:00:00');
INSERT INTO product VALUES (28, 'Widget 028', 308.42, 72.6993, '2023-03-01 08:00:00');
INSERT INTO product VALUES (29, 'Widget 029', 125.09, 78.9008, '2023-06-11 07:00:00');
INSERT INTO product VALUES (30, E'The "Big" one #30;\\ it\'s big', 342.36, 25.1860, '2023-01-11 19:00:00');
INSERT INTO product VALUES (31, 'Widget 031', 178.00, 18.0092, '2023-03-02 20:00:00');
INSERT INTO product VALUES (32, 'Widget 032', 430.41, 58.3091, '2023-12-04 18:00:00');
INSERT INTO product VALUES (33, 'Widget 033', 199.86, 69.9636, '2023-03-28 10:00:00');
INSERT INTO product VALUES (34, 'Widget 034', 49.55, 27.4891, '2023-10-24 17:00:00');
INSERT INTO product VALUES (35, E'The "Big" one #35;\\ it\'s big', 308.93, 45.7554, '2023-07-04 18:00:00');
INSERT INTO product VALUES (36, 'Widget 036', 2.79, 62.6359, '2023-12-05 20:00:00');
INSERT INTO product VALUES (37, 'Widget 037', 231.23, 12.7845, '2023-10-07 17:00:00');
INSERT INTO product VALUES (38, 'Widget 038', 275.23, 60.1134, '2023-07-12 07:00:00');
INSERT INTO product VALUES (39, 'Widget 039', 490.09, 51.7226, '2023-02-21 16:00:00');
INSERT INTO product VALUES (40, E'The "Big" one #40;\\ it\'s big', 361.89, 46.9742, '2023-12-27 21:00:00');
INSERT INTO product VALUES (41, 'Widget 041', 389.36, 27.1014, '2023-10-28 18:00:00');
INSERT INTO product VALUES (42, 'Widget 042', 331.26, 32.6271, '2023-06-09 04:00:00');
INSERT INTO product VALUES (43, 'Widget 043', 380.05, 28.5711, '2023-01-06 14:00:00');
INSERT INTO product VALUES (44, 'Widget 044', 458.16, 55.7759, '2023-04-26 03:00:00');
INSERT INTO product VALUES (45, E'The "Big" one #45;\\ it\'s big', 34.06, 20.1537, '2023-11-24 02:00:00');
INSERT INTO product VALUES (46, 'Widget 046', 397.20, 57.7188, '2023-03-18 07:00:00');
INSERT INTO product VALUES (47, 'Widget 047', 161.40, 49.1002, '2023-06-02 13:00:00');
INSERT INTO product VALUES (48, 'Widget 048', 113.42, 59.1793, '2023-06-06 18:00:00');
INSERT INTO product VALUES (49, 'Widget 049', 73.75, 13.8679, '2023-08-16 14:00:00');
INSERT INTO product VALUES (50, E'The "Big" one #50;\\ it\'s big', 298.36, 34.5960, '2023-05-14 14:00:00');
INSERT INTO product VALUES (51, 'Widget 051', 488.23, 19.7667, '2023-08-01 10:00:00');
INSERT INTO product VALUES (52, 'Widget 052', 202.66, 52.1567, '2023-11-02 18:00:00');
INSERT INTO product VALUES (53, 'Widget 053', 497.05, 48.9602, '2023-08-15 00:00:00');
INSERT INTO product VALUES (54, 'Widget 054', 168.31, 70.9305, '2023-05-20 12:00:00');
INSERT INTO product VALUES (55, E'The "Big" one #55;\\ it\'s big', 227.48, 35.3639, '2023-11-23 16:00:00');
INSERT INTO product VALUES (56, 'Widget 056', 379.49, 13.2864, '2023-08-11 15:00:00');
INSERT INTO product VALUES (57, 'Widget 057', 165.53, 56.7860, '2023-09-15 02:00:00');
INSERT INTO product VALUES (58, 'Widget 058', 107.19, 17.6035, '2023-09-25 16:00:00');
INSERT INTO product VALUES (59, 'Widget 059', 199.95, 8.7086, '2023-11-13 10:00:00');
INSERT INTO product VALUES (60, E'The "Big" one #60;\\ it\'s big', 162.03, 69.0345, '2023-05-15 05:00:00');

-- Customers; ids come from the sequence
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Eve Nguyen', 'Eve.Nguyen.1@Example.ORG', '1955-05-23', 902.21, 'Called on 1975-05-23; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Dmitri Da Silva', 'Dmitri.DaSilva.2@Example.ORG', '1960-10-09', 380.63, 'Called on 1980-10-09; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Okafor', 'Cleo.Okafor.3@Example.ORG', '2005-04-05', 631.18, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ines Smith', 'Ines.Smith.4@Example.ORG', '1971-04-13', 561.50, 'Called on 1991-04-13; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Dmitri Da Silva', 'Dmitri.DaSilva.5@Example.ORG', '1992-12-21', 615.70, E'tab\there; newline\nthere; quote \' and backslash \\ (5)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Kai Nguyen', 'Kai.Nguyen.6@Example.ORG', '2000-04-11', 499.41, 'Called on 2020-04-11; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Lee', 'Frank.Lee.7@Example.ORG', '1988-06-22', 438.26, 'Called on 2008-06-22; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Bob Bauer', 'Bob.Bauer.8@Example.ORG', '2003-04-22', 963.83, 'Called on 2023-04-22; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Dmitri Smith', 'Dmitri.Smith.9@Example.ORG', '1962-12-17', 920.24, 'Called on 1982-12-17; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Eve Da Silva', 'Eve.DaSilva.10@Example.ORG', '1967-04-16', 328.92, 'Line one of note 10;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Hamid Bauer', 'Hamid.Bauer.11@Example.ORG', '1970-08-12', 210.83, 'Called on 1990-08-12; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ines Ivanova', 'Ines.Ivanova.12@Example.ORG', '1982-10-04', 783.65, 'Called on 2002-10-04; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Da Silva', 'Ann.DaSilva.13@Example.ORG', '1947-04-02', 463.28, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Lee', 'Gisela.Lee.14@Example.ORG', '1977-10-21', 769.11, 'Called on 1997-10-21; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Lee', 'Frank.Lee.15@Example.ORG', '1986-07-21', 726.30, E'tab\there; newline\nthere; quote \' and backslash \\ (15)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Kai Nguyen', 'Kai.Nguyen.16@Example.ORG', '1941-08-24', 746.88, 'Called on 1961-08-24; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Kai Ivanova', 'Kai.Ivanova.17@Example.ORG', NULL, 880.43, 'Called on 2013-12-03; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Nguyen', 'Cleo.Nguyen.18@Example.ORG', '1957-02-02', 819.02, 'Called on 1977-02-02; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Bob O''Neil', 'Bob.ONeil.19@Example.ORG', '1989-12-20', 702.23, 'Called on 2009-12-20; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Gisela Lee', 'Gisela.Lee.20@Example.ORG', '1959-04-18', 450.62, 'Line one of note 20;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Bob Bauer', 'Bob.Bauer.21@Example.ORG', '1946-06-17', 342.05, 'Called on 1966-06-17; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines O''Neil', 'Ines.ONeil.22@Example.ORG', '1996-09-01', 190.35, 'Called on 2016-09-01; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Okafor', 'Ann.Okafor.23@Example.ORG', '2001-04-23', 189.26, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Kai Bauer', 'Kai.Bauer.24@Example.ORG', '2004-10-13', 314.15, 'Called on 2024-10-13; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Lena Ivanova', 'Lena.Ivanova.25@Example.ORG', '1994-06-21', 649.50, E'tab\there; newline\nthere; quote \' and backslash \\ (25)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Smith', 'Ann.Smith.26@Example.ORG', '1963-07-28', 752.09, 'Called on 1983-07-28; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Eve Lee', 'Eve.Lee.27@Example.ORG', '1953-05-05', 678.39, 'Called on 1973-05-05; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ann Ivanova', 'Ann.Ivanova.28@Example.ORG', '1972-08-05', 985.99, 'Called on 1992-08-05; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Da Silva', 'Gisela.DaSilva.29@Example.ORG', '1949-10-17', 497.47, 'Called on 1969-10-17; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Dmitri O''Neil', 'Dmitri.ONeil.30@Example.ORG', '2003-10-12', 222.04, 'Line one of note 30;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Ivanova', 'Cleo.Ivanova.31@Example.ORG', '1954-02-10', 482.19, 'Called on 1974-02-10; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Kai Bauer', 'Kai.Bauer.32@Example.ORG', '1970-03-19', 386.78, 'Called on 1990-03-19; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Bauer', 'Gisela.Bauer.33@Example.ORG', '2001-04-23', 29.01, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo O''Neil', 'Cleo.ONeil.34@Example.ORG', NULL, 630.77, 'Called on 2007-07-03; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Bauer', 'Frank.Bauer.35@Example.ORG', '1986-09-02', 952.11, E'tab\there; newline\nthere; quote \' and backslash \\ (35)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Kai Okafor', 'Kai.Okafor.36@Example.ORG', '1947-08-22', 437.46, 'Called on 1967-08-22; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Jon Bauer', 'Jon.Bauer.37@Example.ORG', '1970-07-23', 479.62, 'Called on 1990-07-23; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Hamid Nguyen', 'Hamid.Nguyen.38@Example.ORG', '1986-07-03', 188.96, 'Called on 2006-07-03; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Eve Ivanova', 'Eve.Ivanova.39@Example.ORG', '1955-02-03', 284.94, 'Called on 1975-02-03; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Gisela Ivanova', 'Gisela.Ivanova.40@Example.ORG', '1980-02-14', 469.93, 'Line one of note 40;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Dmitri O''Neil', 'Dmitri.ONeil.41@Example.ORG', '1988-12-07', 554.05, 'Called on 2008-12-07; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines Nguyen', 'Ines.Nguyen.42@Example.ORG', '1942-10-26', 841.63, 'Called on 1962-10-26; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann O''Neil', 'Ann.ONeil.43@Example.ORG', '1958-02-04', 629.04, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Frank Bauer', 'Frank.Bauer.44@Example.ORG', '1992-12-27', 604.91, 'Called on 2012-12-27; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Lena O''Neil', 'Lena.ONeil.45@Example.ORG', '1954-12-04', 508.22, E'tab\there; newline\nthere; quote \' and backslash \\ (45)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo O''Neil', 'Cleo.ONeil.46@Example.ORG', '1956-08-10', 394.97, 'Called on 1976-08-10; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines Da Silva', 'Ines.DaSilva.47@Example.ORG', '1981-06-15', 799.77, 'Called on 2001-06-15; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ines Ivanova', 'Ines.Ivanova.48@Example.ORG', '1948-03-10', 491.69, 'Called on 1968-03-10; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Okafor', 'Frank.Okafor.49@Example.ORG', '1994-05-17', 225.96, 'Called on 2014-05-17; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Eve Okafor', 'Eve.Okafor.50@Example.ORG', '1977-04-01', 483.63, 'Line one of note 50;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Ivanova', 'Gisela.Ivanova.51@Example.ORG', NULL, 332.82, 'Called on 2011-06-21; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Bob O\'Neil', 'Bob.ONeil.52@Example.ORG', '1965-02-12', 998.89, 'Called on 1985-02-12; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Da Silva', 'Ann.DaSilva.53@Example.ORG', '2005-04-22', 392.22, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann O''Neil', 'Ann.ONeil.54@Example.ORG', '1963-03-24', 174.57, 'Called on 1983-03-24; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Lee', 'Ann.Lee.55@Example.ORG', '1965-06-03', 891.54, E'tab\there; newline\nthere; quote \' and backslash \\ (55)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Eve Bauer', 'Eve.Bauer.56@Example.ORG', '1946-04-20', 682.64, 'Called on 1966-04-20; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Kai O''Neil', 'Kai.ONeil.57@Example.ORG', '1962-02-20', 334.74, 'Called on 1982-02-20; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Dmitri Ivanova', 'Dmitri.Ivanova.58@Example.ORG', '1994-05-05', 675.36, 'Called on 2014-05-05; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Dmitri Bauer', 'Dmitri.Bauer.59@Example.ORG', '1940-12-11', 769.67, 'Called on 1960-12-11; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ines O\'Neil', 'Ines.ONeil.60@Example.ORG', '1956-01-18', 345.94, 'Line one of note 60;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Smith', 'Cleo.Smith.61@Example.ORG', '1981-09-19', 172.83, 'Called on 2001-09-19; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines Ivanova', 'Ines.Ivanova.62@Example.ORG', '1987-12-04', 509.55, 'Called on 2007-12-04; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Smith', 'Cleo.Smith.63@Example.ORG', '1946-09-19', 216.03, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Dmitri Da Silva', 'Dmitri.DaSilva.64@Example.ORG', '1962-10-21', 988.94, 'Called on 1982-10-21; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Dmitri Lee', 'Dmitri.Lee.65@Example.ORG', '1961-09-25', 70.29, E'tab\there; newline\nthere; quote \' and backslash \\ (65)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Kai O''Neil', 'Kai.ONeil.66@Example.ORG', '1993-02-26', 228.94, 'Called on 2013-02-26; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Okafor', 'Gisela.Okafor.67@Example.ORG', '1949-12-19', 603.27, 'Called on 1969-12-19; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Dmitri Okafor', 'Dmitri.Okafor.68@Example.ORG', NULL, 495.41, 'Called on 2000-04-08; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Da Silva', 'Cleo.DaSilva.69@Example.ORG', '1972-10-04', 389.39, 'Called on 1992-10-04; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Eve Ivanova', 'Eve.Ivanova.70@Example.ORG', '2002-06-16', 460.09, 'Line one of note 70;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Okafor', 'Gisela.Okafor.71@Example.ORG', '1998-08-22', 588.06, 'Called on 2018-08-22; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Dmitri Ivanova', 'Dmitri.Ivanova.72@Example.ORG', '2004-06-20', 575.91, 'Called on 2024-06-20; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Da Silva', 'Frank.DaSilva.73@Example.ORG', '1977-10-11', 96.29, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Nguyen', 'Frank.Nguyen.74@Example.ORG', '1992-08-09', 791.85, 'Called on 2012-08-09; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Okafor', 'Cleo.Okafor.75@Example.ORG', '1949-03-01', 525.49, E'tab\there; newline\nthere; quote \' and backslash \\ (75)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Frank O\'Neil', 'Frank.ONeil.76@Example.ORG', '1996-04-22', 338.13, 'Called on 2016-04-22; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines Okafor', 'Ines.Okafor.77@Example.ORG', '1994-04-28', 602.62, 'Called on 2014-04-28; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Ivanova', 'Frank.Ivanova.78@Example.ORG', '1970-02-25', 186.57, 'Called on 1990-02-25; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Kai Ivanova', 'Kai.Ivanova.79@Example.ORG', '1980-10-11', 512.54, 'Called on 2000-10-11; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ann Bauer', 'Ann.Bauer.80@Example.ORG', '2005-08-04', 621.24, 'Line one of note 80;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Jon Lee', 'Jon.Lee.81@Example.ORG', '1962-08-01', 842.96, 'Called on 1982-08-01; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Ivanova', 'Ann.Ivanova.82@Example.ORG', '1956-05-14', 316.12, 'Called on 1976-05-14; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Jon Bauer', 'Jon.Bauer.83@Example.ORG', '1973-11-23', 698.76, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Bob Bauer', 'Bob.Bauer.84@Example.ORG', '1956-07-05', 136.13, 'Called on 1976-07-05; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines O''Neil', 'Ines.ONeil.85@Example.ORG', NULL, 313.48, E'tab\there; newline\nthere; quote \' and backslash \\ (85)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann O''Neil', 'Ann.ONeil.86@Example.ORG', '1998-09-26', 70.17, 'Called on 2018-09-26; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Nguyen', 'Ann.Nguyen.87@Example.ORG', '2004-08-05', 641.65, 'Called on 2024-08-05; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Frank Da Silva', 'Frank.DaSilva.88@Example.ORG', '1978-09-28', 348.18, 'Called on 1998-09-28; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Bob Smith', 'Bob.Smith.89@Example.ORG', '1944-05-20', 102.50, 'Called on 1964-05-20; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Lena Ivanova', 'Lena.Ivanova.90@Example.ORG', '1948-09-02', 355.92, 'Line one of note 90;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Bob O''Neil', 'Bob.ONeil.91@Example.ORG', '1972-08-25', 245.20, 'Called on 1992-08-25; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Dmitri Okafor', 'Dmitri.Okafor.92@Example.ORG', '1974-11-24', 220.79, 'Called on 1994-11-24; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Smith', 'Frank.Smith.93@Example.ORG', '1989-09-05', 304.87, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Dmitri Bauer', 'Dmitri.Bauer.94@Example.ORG', '1972-06-13', 340.55, 'Called on 1992-06-13; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Jon Smith', 'Jon.Smith.95@Example.ORG', '1991-08-17', 890.14, E'tab\there; newline\nthere; quote \' and backslash \\ (95)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Eve Da Silva', 'Eve.DaSilva.96@Example.ORG', '1948-06-09', 126.13, 'Called on 1968-06-09; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Nguyen', 'Gisela.Nguyen.97@Example.ORG', '1963-04-13', 744.35, 'Called on 1983-04-13; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Ivanova', 'Cleo.Ivanova.98@Example.ORG', '1956-11-10', 436.22, 'Called on 1976-11-10; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Da Silva', 'Gisela.DaSilva.99@Example.ORG', '2004-01-26', 608.68, 'Called on 2024-01-26; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Gisela Ivanova', 'Gisela.Ivanova.100@Example.ORG', '1974-12-01', 947.27, 'Line one of note 100;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Hamid O''Neil', 'Hamid.ONeil.101@Example.ORG', '1941-08-22', 544.79, 'Called on 1961-08-22; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Bob Okafor', 'Bob.Okafor.102@Example.ORG', NULL, 75.43, 'Called on 1991-01-06; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Okafor', 'Cleo.Okafor.103@Example.ORG', '1999-04-27', 152.09, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ines Lee', 'Ines.Lee.104@Example.ORG', '1942-08-07', 792.59, 'Called on 1962-08-07; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Jon Ivanova', 'Jon.Ivanova.105@Example.ORG', '1946-06-07', 997.85, E'tab\there; newline\nthere; quote \' and backslash \\ (105)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Ivanova', 'Gisela.Ivanova.106@Example.ORG', '1947-01-24', 290.96, 'Called on 1967-01-24; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Bauer', 'Gisela.Bauer.107@Example.ORG', '1956-04-22', 566.39, 'Called on 1976-04-22; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ines Ivanova', 'Ines.Ivanova.108@Example.ORG', '1975-12-08', 806.02, 'Called on 1995-12-08; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Hamid Bauer', 'Hamid.Bauer.109@Example.ORG', '1950-01-13', 7.28, 'Called on 1970-01-13; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Da Silva', 'Ann.DaSilva.110@Example.ORG', '1977-09-07', 674.18, 'Line one of note 110;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Bob Smith', 'Bob.Smith.111@Example.ORG', '2003-06-05', 558.40, 'Called on 2023-06-05; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ines Lee', 'Ines.Lee.112@Example.ORG', '2004-09-02', 155.49, 'Called on 2024-09-02; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Hamid Nguyen', 'Hamid.Nguyen.113@Example.ORG', '1968-03-16', 598.54, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines Okafor', 'Ines.Okafor.114@Example.ORG', '1950-04-05', 637.17, 'Called on 1970-04-05; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Hamid Ivanova', 'Hamid.Ivanova.115@Example.ORG', '1965-06-05', 679.96, E'tab\there; newline\nthere; quote \' and backslash \\ (115)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Cleo Lee', 'Cleo.Lee.116@Example.ORG', '1952-08-16', 892.54, 'Called on 1972-08-16; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Jon Okafor', 'Jon.Okafor.117@Example.ORG', '1969-12-13', 871.27, 'Called on 1989-12-13; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines Nguyen', 'Ines.Nguyen.118@Example.ORG', '2001-02-16', 380.10, 'Called on 2021-02-16; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Nguyen', 'Ann.Nguyen.119@Example.ORG', NULL, 512.50, 'Called on 1975-06-11; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Gisela Smith', 'Gisela.Smith.120@Example.ORG', '1947-01-27', 661.68, 'Line one of note 120;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Da Silva', 'Ann.DaSilva.121@Example.ORG', '1974-11-25', 967.06, 'Called on 1994-11-25; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines Nguyen', 'Ines.Nguyen.122@Example.ORG', '1963-04-23', 342.43, 'Called on 1983-04-23; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Ivanova', 'Ann.Ivanova.123@Example.ORG', '2000-06-20', 987.59, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Bob Okafor', 'Bob.Okafor.124@Example.ORG', '1977-01-05', 994.80, 'Called on 1997-01-05; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Lena Ivanova', 'Lena.Ivanova.125@Example.ORG', '1975-03-12', 891.10, E'tab\there; newline\nthere; quote \' and backslash \\ (125)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Bob Lee', 'Bob.Lee.126@Example.ORG', '1979-04-24', 259.36, 'Called on 1999-04-24; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Bauer', 'Gisela.Bauer.127@Example.ORG', '1996-05-01', 974.57, 'Called on 2016-05-01; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ines O\'Neil', 'Ines.ONeil.128@Example.ORG', '1969-02-21', 341.08, 'Called on 1989-02-21; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Smith', 'Frank.Smith.129@Example.ORG', '1995-01-21', 710.64, 'Called on 2015-01-21; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Eve Okafor', 'Eve.Okafor.130@Example.ORG', '1962-05-07', 293.26, 'Line one of note 130;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Lena Lee', 'Lena.Lee.131@Example.ORG', '1955-05-09', 869.61, 'Called on 1975-05-09; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Dmitri Lee', 'Dmitri.Lee.132@Example.ORG', '1989-07-11', 97.87, 'Called on 2009-07-11; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Eve Ivanova', 'Eve.Ivanova.133@Example.ORG', '1944-06-09', 123.40, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Kai O''Neil', 'Kai.ONeil.134@Example.ORG', '1981-03-06', 476.31, 'Called on 2001-03-06; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Lena Bauer', 'Lena.Bauer.135@Example.ORG', '1956-12-01', 357.68, E'tab\there; newline\nthere; quote \' and backslash \\ (135)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Kai Smith', 'Kai.Smith.136@Example.ORG', NULL, 149.57, 'Called on 1977-12-28; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Bauer', 'Frank.Bauer.137@Example.ORG', '1995-10-20', 381.04, 'Called on 2015-10-20; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Bob Okafor', 'Bob.Okafor.138@Example.ORG', '1993-08-24', 713.86, 'Called on 2013-08-24; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines O''Neil', 'Ines.ONeil.139@Example.ORG', '1945-03-09', 191.70, 'Called on 1965-03-09; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Eve Bauer', 'Eve.Bauer.140@Example.ORG', '1997-08-06', 778.62, 'Line one of note 140;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Hamid Lee', 'Hamid.Lee.141@Example.ORG', '2004-09-12', 571.37, 'Called on 2024-09-12; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Bob Ivanova', 'Bob.Ivanova.142@Example.ORG', '2003-03-08', 188.94, 'Called on 2023-03-08; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines Ivanova', 'Ines.Ivanova.143@Example.ORG', '1946-12-23', 153.06, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Gisela Bauer', 'Gisela.Bauer.144@Example.ORG', '1981-06-20', 295.26, 'Called on 2001-06-20; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Eve Bauer', 'Eve.Bauer.145@Example.ORG', '1943-11-07', 372.64, E'tab\there; newline\nthere; quote \' and backslash \\ (145)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Ivanova', 'Cleo.Ivanova.146@Example.ORG', '1956-04-08', 115.70, 'Called on 1976-04-08; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Hamid Okafor', 'Hamid.Okafor.147@Example.ORG', '1996-11-02', 451.80, 'Called on 2016-11-02; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Cleo O\'Neil', 'Cleo.ONeil.148@Example.ORG', '1975-05-08', 729.27, 'Called on 1995-05-08; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank O''Neil', 'Frank.ONeil.149@Example.ORG', '1964-11-11', 605.48, 'Called on 1984-11-11; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Hamid Bauer', 'Hamid.Bauer.150@Example.ORG', '1988-05-19', 343.79, 'Line one of note 150;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Lee', 'Ann.Lee.151@Example.ORG', '1949-03-06', 754.12, 'Called on 1969-03-06; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ines Da Silva', 'Ines.DaSilva.152@Example.ORG', '1940-08-13', 95.06, 'Called on 1960-08-13; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Bob Okafor', 'Bob.Okafor.153@Example.ORG', NULL, 10.41, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Ivanova', 'Frank.Ivanova.154@Example.ORG', '1953-05-04', 333.76, 'Called on 1973-05-04; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Eve Smith', 'Eve.Smith.155@Example.ORG', '1995-11-17', 513.01, E'tab\there; newline\nthere; quote \' and backslash \\ (155)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ines O\'Neil', 'Ines.ONeil.156@Example.ORG', '1960-05-02', 821.95, 'Called on 1980-05-02; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Lena Okafor', 'Lena.Okafor.157@Example.ORG', '1963-11-12', 462.44, 'Called on 1983-11-12; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Da Silva', 'Gisela.DaSilva.158@Example.ORG', '2002-10-16', 960.58, 'Called on 2022-10-16; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Smith', 'Gisela.Smith.159@Example.ORG', '2000-09-07', 991.22, 'Called on 2020-09-07; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Ines Smith', 'Ines.Smith.160@Example.ORG', '1941-03-16', 722.15, 'Line one of note 160;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Kai O''Neil', 'Kai.ONeil.161@Example.ORG', '1974-12-24', 923.23, 'Called on 1994-12-24; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Jon Ivanova', 'Jon.Ivanova.162@Example.ORG', '1973-08-19', 522.30, 'Called on 1993-08-19; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Jon Da Silva', 'Jon.DaSilva.163@Example.ORG', '1965-07-10', 975.03, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Hamid Ivanova', 'Hamid.Ivanova.164@Example.ORG', '1969-10-27', 872.88, 'Called on 1989-10-27; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines Ivanova', 'Ines.Ivanova.165@Example.ORG', '1999-05-02', 840.64, E'tab\there; newline\nthere; quote \' and backslash \\ (165)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Kai Ivanova', 'Kai.Ivanova.166@Example.ORG', '1975-04-20', 980.07, 'Called on 1995-04-20; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Da Silva', 'Cleo.DaSilva.167@Example.ORG', '1952-07-21', 697.34, 'Called on 1972-07-21; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Dmitri Da Silva', 'Dmitri.DaSilva.168@Example.ORG', '1977-12-18', 334.53, 'Called on 1997-12-18; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines Ivanova', 'Ines.Ivanova.169@Example.ORG', '1980-09-03', 815.14, 'Called on 2000-09-03; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Lee', 'Cleo.Lee.170@Example.ORG', NULL, 257.77, 'Line one of note 170;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Eve Smith', 'Eve.Smith.171@Example.ORG', '1995-09-19', 239.65, 'Called on 2015-09-19; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Jon Da Silva', 'Jon.DaSilva.172@Example.ORG', '1940-08-20', 295.79, 'Called on 1960-08-20; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Ivanova', 'Frank.Ivanova.173@Example.ORG', '1992-04-12', 576.22, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Dmitri Da Silva', 'Dmitri.DaSilva.174@Example.ORG', '1959-11-03', 91.30, 'Called on 1979-11-03; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Lee', 'Ann.Lee.175@Example.ORG', '1987-04-13', 666.59, E'tab\there; newline\nthere; quote \' and backslash \\ (175)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Eve Ivanova', 'Eve.Ivanova.176@Example.ORG', '1973-06-22', 683.88, 'Called on 1993-06-22; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Smith', 'Ann.Smith.177@Example.ORG', '2001-01-26', 772.44, 'Called on 2021-01-26; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Dmitri Da Silva', 'Dmitri.DaSilva.178@Example.ORG', '1965-12-06', 407.70, 'Called on 1985-12-06; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Bob Okafor', 'Bob.Okafor.179@Example.ORG', '1981-07-07', 643.24, 'Called on 2001-07-07; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Bob O\'Neil', 'Bob.ONeil.180@Example.ORG', '1960-01-08', 28.85, 'Line one of note 180;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Nguyen', 'Ann.Nguyen.181@Example.ORG', '1997-12-20', 582.57, 'Called on 2017-12-20; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank O''Neil', 'Frank.ONeil.182@Example.ORG', '1999-06-16', 14.04, 'Called on 2019-06-16; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela Smith', 'Gisela.Smith.183@Example.ORG', '2000-05-17', 363.08, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Frank Ivanova', 'Frank.Ivanova.184@Example.ORG', '1985-09-11', 113.64, 'Called on 2005-09-11; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Dmitri Smith', 'Dmitri.Smith.185@Example.ORG', '1960-05-27', 330.58, E'tab\there; newline\nthere; quote \' and backslash \\ (185)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Jon Ivanova', 'Jon.Ivanova.186@Example.ORG', '1979-07-20', 853.09, 'Called on 1999-07-20; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines Da Silva', 'Ines.DaSilva.187@Example.ORG', NULL, 16.62, 'Called on 1988-11-08; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Kai Lee', 'Kai.Lee.188@Example.ORG', '1942-07-03', 839.67, 'Called on 1962-07-03; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Da Silva', 'Frank.DaSilva.189@Example.ORG', '1945-04-12', 365.21, 'Called on 1965-04-12; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ines Smith', 'Ines.Smith.190@Example.ORG', '1945-05-27', 236.69, 'Line one of note 190;
line two -- not a comment
/* nor this */ line three');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Hamid Nguyen', 'Hamid.Nguyen.191@Example.ORG', '1998-05-14', 56.12, 'Called on 2018-05-14; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Gisela Da Silva', 'Gisela.DaSilva.192@Example.ORG', '1974-02-15', 423.69, 'Called on 1994-02-15; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Jon Bauer', 'Jon.Bauer.193@Example.ORG', '1951-07-06', 537.03, NULL);
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Ann Okafor', 'Ann.Okafor.194@Example.ORG', '1953-04-23', 463.09, 'Called on 1973-04-23; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Gisela O''Neil', 'Gisela.ONeil.195@Example.ORG', '1940-03-18', 513.24, E'tab\there; newline\nthere; quote \' and backslash \\ (195)');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Hamid Da Silva', 'Hamid.DaSilva.196@Example.ORG', '1945-05-21', 8.29, 'Called on 1965-05-21; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Okafor', 'Cleo.Okafor.197@Example.ORG', '2004-07-11', 442.72, 'Called on 2024-07-11; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Frank Lee', 'Frank.Lee.198@Example.ORG', '1950-01-15', 80.90, 'Called on 1970-01-15; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES ('Cleo Nguyen', 'Cleo.Nguyen.199@Example.ORG', '1967-08-12', 778.64, 'Called on 1987-08-12; said it''s fine');
INSERT INTO customer ("Name", email, born, credit, note)
    VALUES (E'Hamid Nguyen', 'Hamid.Nguyen.200@Example.ORG', '1979-01-27', 877.16, 'Line one of note 200;
line two -- not a comment
/* nor this */ line three');

-- A change that is taken back
BEGIN;
UPDATE product SET price = price * 100;
DELETE FROM customer WHERE id < 50;
ROLLBACK;

-- Orders, placed by a DO block
DO $do$
DECLARE
    i integer;
BEGIN
    FOR i IN 1..80 LOOP
        CALL place_order((i * 7) % 200 + 1, i % 60 + 1, i % 8 + 1,
                         timestamp '2024-01-01 08:30:00' + i * interval '1 hour');
    END LOOP;
END
$do$;

START TRANSACTION;
UPDATE customer SET credit = credit - 1 WHERE id IN (SELECT customer_id FROM "Order") AND credit >= 1;
DELETE FROM "Audit log" WHERE entry > 1070;
ALTER TABLE customer ADD COLUMN city text DEFAULT 'Nowhere';
COMMIT;
UPDATE customer SET city = E'Ghent\\Gent' WHERE id % 3 = 0;

SELECT customer_label(customer_id) AS label, spent FROM customer_total
WHERE orders > 0 ORDER BY spent DESC, customer_id LIMIT 5;
-- done
